// In-memory dialog templates: DLGTEMPLATE and DLGITEMTEMPLATE records with
// their trailing class, text and creation-data words.
#include "ui/framework/DialogTemplate_win.h"

#include <cstring>

#include "core/Cp932.h"

DialogTemplate::DialogTemplate(const char* caption, short width, short height) {
    Header(DS_SETFONT | DS_MODALFRAME | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU, caption, width, height);
}

DialogTemplate::DialogTemplate(short width, short height) {
    Header(DS_SETFONT | DS_CONTROL | DS_3DLOOK | WS_CHILD, "", width, height);
}

void DialogTemplate::Header(DWORD style, const char* caption, short width, short height) {
    DLGTEMPLATE header = {};
    header.style = style;
    header.dwExtendedStyle = (style & WS_CHILD) ? WS_EX_CONTROLPARENT : 0;
    header.cx = width;
    header.cy = height;
    AppendBytes(&header, sizeof header);
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    AppendText(caption);
    words_.push_back(9);  // point size of the font
    AppendText("MS UI Gothic");
}

void DialogTemplate::Item(int id, DWORD style, short x, short y, short width, short height) {
    if (words_.size() % 2) {
        words_.push_back(0);
    }
    DLGITEMTEMPLATE item = {};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = width;
    item.cy = height;
    item.id = WORD(id);
    AppendBytes(&item, sizeof item);
    reinterpret_cast<DLGTEMPLATE*>(words_.data())->cdit++;
}

void DialogTemplate::Add(WORD atom,
                         int id,
                         DWORD style,
                         short x,
                         short y,
                         short width,
                         short height,
                         const char* text) {
    Item(id, style, x, y, width, height);
    words_.push_back(0xFFFF);
    words_.push_back(atom);
    AppendText(text);
    words_.push_back(0);  // no creation data
}

void DialogTemplate::Add(const char* className,
                         int id,
                         DWORD style,
                         short x,
                         short y,
                         short width,
                         short height,
                         const char* text) {
    Item(id, style, x, y, width, height);
    AppendText(className);
    AppendText(text);
    words_.push_back(0);
}

void DialogTemplate::Label(short x, short y, short width, short height, const char* text) {
    Add(kStaticAtom, -1, SS_LEFT, x, y, width, height, text);
}

void DialogTemplate::Group(short x, short y, short width, short height, const char* text) {
    Add(kButtonAtom, -1, BS_GROUPBOX, x, y, width, height, text);
}

void DialogTemplate::Check(int id, short x, short y, short width, const char* text) {
    Add(kButtonAtom, id, BS_AUTOCHECKBOX | WS_TABSTOP, x, y, width, 10, text);
}

void DialogTemplate::Radio(int id, bool first, short x, short y, short width, const char* text) {
    Add(kButtonAtom, id, BS_AUTORADIOBUTTON | (first ? WS_GROUP | WS_TABSTOP : 0), x, y, width, 10, text);
}

void DialogTemplate::Button(int id, short x, short y, short width, const char* text) {
    Add(kButtonAtom, id, (id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, x, y, width, 14, text);
}

void DialogTemplate::Edit(int id, DWORD style, short x, short y, short width, short height) {
    Add(kEditAtom, id, style | WS_BORDER | WS_TABSTOP, x, y, width, height, "");
}

const DLGTEMPLATE* DialogTemplate::Template() const {
    return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
}

void DialogTemplate::AppendBytes(const void* bytes, size_t size) {
    const size_t at = words_.size();
    words_.resize(at + (size + 1) / 2);
    std::memcpy(&words_[at], bytes, size);
}

void DialogTemplate::AppendText(const char* text) {
    for (char16_t unit : Cp932ToUtf16(text)) {
        words_.push_back(WORD(unit));
    }
    words_.push_back(0);
}
