// The Windows Media runtime as a tag reader. wmvcore.dll has no import
// library, so it is loaded by name and WMCreateEditor looked up. Wine ships a
// wmvcore.dll whose WMCreateEditor is a stub (E_NOTIMPL): that, or a file the
// runtime refuses, hands the song on to our own ASF parser.
#include <windows.h>
#include <initguid.h>
#include <wmsdkidl.h>

#include <string>

#include "analysis/AudioTags.h"
#include "analysis/SongReaders.h"
#include "analysis/WindowsMediaReader_win.h"
#include "core/Cp932.h"

namespace {

using CreateEditorFn = HRESULT(WINAPI*)(IWMMetadataEditor**);

CreateEditorFn createEditor = nullptr;

constexpr WORD kTitleBytes = 256;        // UTF-16 bytes asked for title and author
constexpr WORD kDescriptionBytes = 385;  // and for the description

// Releases a COM interface when it goes.
template <typename T>
struct Released {
    T* p = nullptr;
    ~Released() {
        if (p) {
            p->Release();
        }
    }
};

// One string attribute of stream 0 in CP932, cut to limit bytes; empty when
// the attribute is missing or not a string.
std::string ReadAttribute(IWMHeaderInfo* header, const wchar_t* name, WORD bufferBytes, size_t limit) {
    WORD stream = 0;
    WMT_ATTR_DATATYPE type = WMT_TYPE_STRING;
    BYTE value[kDescriptionBytes + 1] = {};
    WORD length = bufferBytes;
    if (FAILED(header->GetAttributeByName(&stream, name, &type, value, &length)) || type != WMT_TYPE_STRING) {
        return std::string();
    }
    size_t units = length / 2;
    const char16_t* text = reinterpret_cast<const char16_t*>(value);
    size_t end = 0;
    while (end < units && text[end] != 0) {
        end++;
    }
    std::string converted = Utf16ToCp932(text, end);
    return TagBytesText(reinterpret_cast<const uint8_t*>(converted.data()), converted.size(), limit);
}

}  // namespace

int32_t ReadWindowsMediaThroughRuntime(const char* path, SongInfo* info, char* title, char* comment) {
    if (!createEditor) {
        return kReadUnsupported;
    }
    Released<IWMMetadataEditor> editor;
    if (FAILED(createEditor(&editor.p)) || !editor.p) {
        return kReadUnsupported;
    }
    const std::u16string widePath = Cp932ToUtf16(path);
    if (FAILED(editor.p->Open(reinterpret_cast<const WCHAR*>(widePath.c_str())))) {
        return kReadUnsupported;
    }
    Released<IWMHeaderInfo> header;
    if (FAILED(editor.p->QueryInterface(IID_IWMHeaderInfo, reinterpret_cast<void**>(&header.p))) || !header.p) {
        editor.p->Close();
        return kReadCannotRead;
    }
    AudioTag tag;
    tag.title = ReadAttribute(header.p, L"Title", kTitleBytes, kTagTitleBytes);
    tag.artist = ReadAttribute(header.p, L"Author", kTitleBytes, kTagTitleBytes);
    if (WantsComment(info, comment)) {
        tag.comment = ReadAttribute(header.p, L"Description", kDescriptionBytes, kTagCommentBytes);
    }
    tag.hasTitle = !tag.title.empty();
    tag.hasArtist = !tag.artist.empty();
    tag.hasComment = !tag.comment.empty();
    editor.p->Close();
    return ComposeTagResult(tag, info, title, comment);
}

bool InstallWindowsMediaRuntime() {
    HMODULE module = LoadLibraryA("wmvcore.dll");
    if (!module) {
        return false;
    }
    createEditor = reinterpret_cast<CreateEditorFn>(reinterpret_cast<void*>(GetProcAddress(module, "WMCreateEditor")));
    if (!createEditor) {
        FreeLibrary(module);
        return false;
    }
    SetPlatformAsfReader(ReadWindowsMediaThroughRuntime);
    return true;
}
