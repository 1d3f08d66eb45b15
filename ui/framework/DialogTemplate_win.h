// Dialog templates built in memory: a header (a captioned pop-up or a
// caption-less child page) and the controls one after another, each on a
// DWORD boundary, texts in UTF-16, the program's font "MS UI Gothic" 9pt.
#pragma once

#include <windows.h>

#include <vector>

// Window classes of dialog controls as template atoms.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;
constexpr WORD kListBoxAtom = 0x0083;
constexpr WORD kComboAtom = 0x0085;

class DialogTemplate {
   public:
    // A pop-up dialog with caption; size in dialog units.
    DialogTemplate(const char* caption, short width, short height);
    // A child page placed over a tab control (no caption, no frame).
    DialogTemplate(short width, short height);

    // A control of a predefined class.
    void Add(WORD atom, int id, DWORD style, short x, short y, short width, short height, const char* text);
    // A control of a registered class ("SysListView32", "msctls_updown32", ...).
    void Add(const char* className, int id, DWORD style, short x, short y, short width, short height, const char* text);
    // Shorthands for the common controls.
    void Label(short x, short y, short width, short height, const char* text);
    void Group(short x, short y, short width, short height, const char* text);
    void Check(int id, short x, short y, short width, const char* text);
    void Radio(int id, bool first, short x, short y, short width, const char* text);
    void Button(int id, short x, short y, short width, const char* text);
    void Edit(int id, DWORD style, short x, short y, short width, short height);

    const DLGTEMPLATE* Template() const;

   private:
    void Header(DWORD style, const char* caption, short width, short height);
    void Item(int id, DWORD style, short x, short y, short width, short height);
    void AppendBytes(const void* bytes, size_t size);
    void AppendText(const char* text);

    std::vector<WORD> words_;
};
