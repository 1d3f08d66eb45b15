// The program's data object and the clipboard calls around it.
#include "actions/Clipboard_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "actions/FileOps.h"
#include "core/Cp932.h"

namespace {

constexpr size_t kDropNameBytes = 511;

HGLOBAL CopyToGlobal(const void* bytes, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) {
        return nullptr;
    }
    void* p = GlobalLock(block);
    std::memcpy(p, bytes, size);
    GlobalUnlock(block);
    return block;
}

// Answers GetData from its blocks (duplicated per call) and lets the shell
// enumerate them; everything else is the minimum IDataObject asks for.
class SongDataObject final : public ComObject<IDataObject> {
   public:
    SongDataObject(HGLOBAL drop, HGLOBAL strings) : ComObject(IID_IDataObject), drop_(drop), strings_(strings) {
    }
    ~SongDataObject() override {
        if (drop_) {
            GlobalFree(drop_);
        }
        GlobalFree(strings_);
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        const HGLOBAL block = BlockFor(format);
        if (!block) {
            return DV_E_FORMATETC;
        }
        const SIZE_T size = GlobalSize(block);
        medium->tymed = TYMED_HGLOBAL;
        medium->pUnkForRelease = nullptr;
        medium->hGlobal = CopyToGlobal(GlobalLock(block), size);
        GlobalUnlock(block);
        return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return BlockFor(format) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET) {
            return E_NOTIMPL;
        }
        FORMATETC formats[2] = {Format(PrivateClipboardFormat()), Format(CF_HDROP)};
        return SHCreateStdEnumFmtEtc(drop_ ? 2 : 1, formats, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

    static FORMATETC Format(UINT format) {
        FORMATETC f = {static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return f;
    }

   private:
    HGLOBAL BlockFor(const FORMATETC* format) const {
        if (!(format->tymed & TYMED_HGLOBAL) || format->dwAspect != DVASPECT_CONTENT) {
            return nullptr;
        }
        if (format->cfFormat == CF_HDROP) {
            return drop_;
        }
        return format->cfFormat == PrivateClipboardFormat() ? strings_ : nullptr;
    }

    HGLOBAL drop_;
    HGLOBAL strings_;
};

bool GetGlobal(IDataObject* data, UINT format, STGMEDIUM* medium) {
    FORMATETC f = SongDataObject::Format(format);
    return data && SUCCEEDED(data->GetData(&f, medium)) && medium->tymed == TYMED_HGLOBAL;
}

}  // namespace

UINT PrivateClipboardFormat() {
    static const UINT format = RegisterClipboardFormatA("Kadrel ClipboardFormat");
    return format;
}

HGLOBAL MakeDropFilesBlock(const std::vector<std::string>& files) {
    std::u16string names;
    for (const std::string& file : files) {
        names += Cp932ToUtf16(file.c_str());
        names.push_back(u'\0');
    }
    names.push_back(u'\0');
    std::string bytes(sizeof(DROPFILES) + names.size() * sizeof(char16_t), '\0');
    DROPFILES header = {};
    header.pFiles = sizeof(DROPFILES);
    header.fNC = TRUE;
    header.fWide = TRUE;
    std::memcpy(&bytes[0], &header, sizeof header);
    std::memcpy(&bytes[sizeof header], names.data(), names.size() * sizeof(char16_t));
    return CopyToGlobal(bytes.data(), bytes.size());
}

IDataObject* CreateSongDataObject(const std::vector<std::string>& files, const std::vector<std::string>& strings) {
    const std::string privateBytes = PrivateClipboardBytes(strings);
    HGLOBAL stringsBlock = CopyToGlobal(privateBytes.data(), privateBytes.size());
    if (!stringsBlock) {
        return nullptr;
    }
    HGLOBAL drop = nullptr;
    if (!files.empty()) {
        drop = MakeDropFilesBlock(files);
        if (!drop) {
            GlobalFree(stringsBlock);
            return nullptr;
        }
    }
    return new SongDataObject(drop, stringsBlock);
}

bool ReadDropFiles(IDataObject* data, std::vector<std::string>* files) {
    STGMEDIUM medium = {};
    if (!GetGlobal(data, CF_HDROP, &medium)) {
        return false;
    }
    HDROP drop = static_cast<HDROP>(medium.hGlobal);
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char name[kDropNameBytes + 1];
        if (DragQueryFileA(drop, i, name, sizeof name) > 0) {
            files->push_back(name);
        }
    }
    ReleaseStgMedium(&medium);
    return true;
}

bool ReadPrivateStrings(IDataObject* data, std::vector<std::string>* strings) {
    STGMEDIUM medium = {};
    if (!GetGlobal(data, PrivateClipboardFormat(), &medium)) {
        return false;
    }
    const void* bytes = GlobalLock(medium.hGlobal);
    const bool ok =
        bytes && ParsePrivateClipboard(static_cast<const uint8_t*>(bytes), GlobalSize(medium.hGlobal), strings);
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return ok;
}

bool PutOnClipboard(const std::vector<std::string>& files, const std::vector<std::string>& strings) {
    IDataObject* data = CreateSongDataObject(files, strings);
    if (!data) {
        return false;
    }
    const HRESULT result = OleSetClipboard(data);
    data->Release();
    return SUCCEEDED(result);
}
