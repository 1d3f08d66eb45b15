// The settings store: a registry-shaped tree of keys holding numbers, texts
// and binary values under the program's root key. The Win32 shell backs it
// with the current user's registry; tests and the command-line tool use the
// in-memory store. Failures are silent: a value that cannot be read leaves
// the caller's default.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The program's own key under HKEY_CURRENT_USER; "Software\\Brenvik" is the
// maker's key above it.
constexpr char kSettingsRootKey[] = "Software\\Brenvik\\Kadrel";

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // Key paths are relative to the program's root key, parts separated by
    // '\\' ("Emulation\\GS"); "" is the root key itself.

    // True and *value set when the value exists as a number.
    virtual bool ReadNumber(const std::string& key, const std::string& name, uint32_t* value) = 0;
    // True and *value set when the value exists as a text of at most
    // maxBytes bytes including its terminator (a longer one does not fit).
    virtual bool ReadText(const std::string& key, const std::string& name, size_t maxBytes, std::string* value) = 0;
    virtual bool ReadBinary(const std::string& key, const std::string& name, std::vector<uint8_t>* value) = 0;

    // Creating the key when missing; true on success.
    virtual bool WriteNumber(const std::string& key, const std::string& name, uint32_t value) = 0;
    virtual bool WriteText(const std::string& key, const std::string& name, const std::string& value) = 0;
    virtual bool WriteBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& value) = 0;

    // True when the key exists.
    virtual bool KeyExists(const std::string& key) = 0;
    // Names of the direct subkeys of a key, in the store's order.
    virtual std::vector<std::string> SubKeys(const std::string& key) = 0;
    // Deletes a key with all its subkeys and values; true when it is gone.
    virtual bool DeleteKey(const std::string& key) = 0;
    // Deletes one value; true when it is gone.
    virtual bool DeleteValue(const std::string& key, const std::string& name) = 0;
};

// A store in memory: keys compare case-insensitively, as the registry's do.
class MemorySettingsStore : public SettingsStore {
  public:
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
    struct Value {
        enum Type { kNumber, kText, kBinary } type;
        uint32_t number = 0;
        std::string text;
        std::vector<uint8_t> binary;
    };
    struct Key {
        std::string name;                     // as first written
        std::map<std::string, Value> values;  // by upper-cased name
    };
    static std::string Fold(const std::string& s);
    Value* Find(const std::string& key, const std::string& name);
    Key& Make(const std::string& key);

    std::map<std::string, Key> keys_;  // by upper-cased full path
};
