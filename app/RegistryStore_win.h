// The settings store in the current user's registry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/SettingsStore.h"

// Key paths are relative to a root key under HKEY_CURRENT_USER. Keys are
// created non-volatile with full access; numbers are REG_DWORD, texts REG_SZ
// written with their terminator, binary values REG_BINARY.
class RegistryStore : public SettingsStore {
   public:
    explicit RegistryStore(const std::string& rootKey = kSettingsRootKey);

    bool ReadNumber(const std::string& key, const std::string& name, uint32_t* value) override;
    bool ReadText(const std::string& key, const std::string& name, size_t maxBytes, std::string* value) override;
    bool ReadBinary(const std::string& key, const std::string& name, std::vector<uint8_t>* value) override;
    bool WriteNumber(const std::string& key, const std::string& name, uint32_t value) override;
    bool WriteText(const std::string& key, const std::string& name, const std::string& value) override;
    bool WriteBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& value) override;
    bool KeyExists(const std::string& key) override;
    std::vector<std::string> SubKeys(const std::string& key) override;
    bool DeleteKey(const std::string& key) override;
    bool DeleteValue(const std::string& key, const std::string& name) override;

   private:
    std::string FullPath(const std::string& key) const;
    bool Write(const std::string& key, const std::string& name, DWORD type, const void* data, size_t bytes);

    std::string rootKey_;
};
