// The data objects of copy, paste and drag-and-drop: CF_HDROP for the shell
// and the private "Kadrel ClipboardFormat" carrying list-file entries.
#pragma once

#include <windows.h>

#include <ole2.h>

#include <string>
#include <vector>

// The IUnknown part of the program's COM objects: one interface, a
// reference count starting at 1, deleted by the last Release.
template <typename Interface>
class ComObject : public Interface {
   public:
    explicit ComObject(const IID& iid) : iid_(iid) {
    }
    virtual ~ComObject() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == iid_) {
            *out = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return InterlockedIncrement(&references_);
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return left;
    }

   private:
    const IID& iid_;
    LONG references_ = 1;
};

// The private format's identifier (registered on first use).
UINT PrivateClipboardFormat();

// A data object offering CF_HDROP of files (left out when files is empty) and
// the private format of strings. The caller owns the one reference; null on failure.
IDataObject* CreateSongDataObject(const std::vector<std::string>& files, const std::vector<std::string>& strings);

// The CF_HDROP block of files (UTF-16 names, fWide 1); null on failure.
HGLOBAL MakeDropFilesBlock(const std::vector<std::string>& files);

// The file names of a CF_HDROP offer (each up to 511 bytes). False when none is offered.
bool ReadDropFiles(IDataObject* data, std::vector<std::string>* files);
// The strings of a private-format offer. False when none is offered.
bool ReadPrivateStrings(IDataObject* data, std::vector<std::string>* strings);

// Puts a data object of files and strings on the clipboard; true on success.
bool PutOnClipboard(const std::vector<std::string>& files, const std::vector<std::string>& strings);
