// The registry behind the settings store. Every call opens the key it needs
// and closes it again; nothing is kept open between calls.
#include "app/RegistryStore_win.h"

namespace {

// An open registry key, closed when it goes out of scope.
class ScopedKey {
   public:
    ScopedKey() = default;
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    ~ScopedKey() {
        if (key_) {
            RegCloseKey(key_);
        }
    }
    // True when the key exists and opened with the access asked for.
    bool Open(const std::string& path, REGSAM access) {
        return RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &key_) == ERROR_SUCCESS;
    }
    // True when the key exists afterwards (created when missing).
    bool Create(const std::string& path) {
        return RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                               nullptr, &key_, nullptr) == ERROR_SUCCESS;
    }
    HKEY Get() const {
        return key_;
    }

   private:
    HKEY key_ = nullptr;
};

// Reads a value of one type into buffer; true with *bytes set on success. A
// value larger than the buffer fails.
bool QueryValue(const std::string& path, const std::string& name, DWORD type, void* buffer, DWORD* bytes) {
    ScopedKey key;
    DWORD storedType = 0;
    return key.Open(path, KEY_QUERY_VALUE) &&
           RegQueryValueExA(key.Get(), name.c_str(), nullptr, &storedType, static_cast<BYTE*>(buffer), bytes) ==
               ERROR_SUCCESS &&
           storedType == type;
}

}  // namespace

RegistryStore::RegistryStore(const std::string& rootKey) : rootKey_(rootKey) {
}

std::string RegistryStore::FullPath(const std::string& key) const {
    return key.empty() ? rootKey_ : rootKey_ + "\\" + key;
}

bool RegistryStore::ReadNumber(const std::string& key, const std::string& name, uint32_t* value) {
    DWORD number = 0;
    DWORD bytes = sizeof number;
    if (!QueryValue(FullPath(key), name, REG_DWORD, &number, &bytes) || bytes != sizeof number) {
        return false;
    }
    *value = number;
    return true;
}

bool RegistryStore::ReadText(const std::string& key, const std::string& name, size_t maxBytes, std::string* value) {
    if (maxBytes == 0 || maxBytes > MAXDWORD) {
        return false;
    }
    std::vector<char> buffer(maxBytes);
    DWORD bytes = DWORD(maxBytes);
    if (!QueryValue(FullPath(key), name, REG_SZ, buffer.data(), &bytes)) {
        return false;
    }
    // A text stored without its terminator must still leave room for one.
    size_t length = 0;
    while (length < bytes && buffer[length] != '\0') {
        length++;
    }
    if (length >= maxBytes) {
        return false;
    }
    value->assign(buffer.data(), length);
    return true;
}

bool RegistryStore::ReadBinary(const std::string& key, const std::string& name, std::vector<uint8_t>* value) {
    ScopedKey opened;
    DWORD type = 0;
    DWORD bytes = 0;
    if (!opened.Open(FullPath(key), KEY_QUERY_VALUE) ||
        RegQueryValueExA(opened.Get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_BINARY) {
        return false;
    }
    std::vector<uint8_t> data(bytes);
    if (RegQueryValueExA(opened.Get(), name.c_str(), nullptr, &type, data.data(), &bytes) != ERROR_SUCCESS ||
        type != REG_BINARY) {
        return false;
    }
    data.resize(bytes);
    value->swap(data);
    return true;
}

bool RegistryStore::Write(const std::string& key, const std::string& name, DWORD type, const void* data, size_t bytes) {
    ScopedKey created;
    return bytes <= MAXDWORD && created.Create(FullPath(key)) &&
           RegSetValueExA(created.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), DWORD(bytes)) ==
               ERROR_SUCCESS;
}

bool RegistryStore::WriteNumber(const std::string& key, const std::string& name, uint32_t value) {
    DWORD number = value;
    return Write(key, name, REG_DWORD, &number, sizeof number);
}

bool RegistryStore::WriteText(const std::string& key, const std::string& name, const std::string& value) {
    return Write(key, name, REG_SZ, value.c_str(), value.size() + 1);
}

bool RegistryStore::WriteBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& value) {
    return Write(key, name, REG_BINARY, value.data(), value.size());
}

bool RegistryStore::KeyExists(const std::string& key) {
    ScopedKey opened;
    return opened.Open(FullPath(key), KEY_READ);
}

std::vector<std::string> RegistryStore::SubKeys(const std::string& key) {
    std::vector<std::string> names;
    ScopedKey opened;
    if (!opened.Open(FullPath(key), KEY_ENUMERATE_SUB_KEYS)) {
        return names;
    }
    for (DWORD index = 0;; index++) {
        char name[256];  // the longest key name the registry allows, with its terminator
        DWORD length = sizeof name;
        if (RegEnumKeyExA(opened.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

// RegDeleteKeyA refuses a key that still has subkeys (error 5); the tree
// deletion takes the key with everything below it.
bool RegistryStore::DeleteKey(const std::string& key) {
    LONG result = RegDeleteTreeA(HKEY_CURRENT_USER, FullPath(key).c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool RegistryStore::DeleteValue(const std::string& key, const std::string& name) {
    ScopedKey opened;
    if (!opened.Open(FullPath(key), KEY_SET_VALUE)) {
        return !KeyExists(key);
    }
    LONG result = RegDeleteValueA(opened.Get(), name.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}
