// The in-memory settings store.
#include "core/SettingsStore.h"

#include "core/Text.h"

std::string MemorySettingsStore::Fold(const std::string& s) {
    return UpperAscii(s.c_str());
}

MemorySettingsStore::Value* MemorySettingsStore::Find(const std::string& key, const std::string& name) {
    auto k = keys_.find(Fold(key));
    if (k == keys_.end()) {
        return nullptr;
    }
    auto v = k->second.values.find(Fold(name));
    return v == k->second.values.end() ? nullptr : &v->second;
}

MemorySettingsStore::Key& MemorySettingsStore::Make(const std::string& key) {
    // Every ancestor exists as well, as in the registry.
    for (size_t i = 0; i <= key.size(); i++) {
        if (i == key.size() || key[i] == '\\') {
            Key& k = keys_[Fold(key.substr(0, i))];
            if (k.name.empty()) {
                k.name = key.substr(0, i);
            }
        }
    }
    return keys_[Fold(key)];
}

bool MemorySettingsStore::ReadNumber(const std::string& key, const std::string& name, uint32_t* value) {
    Value* v = Find(key, name);
    if (!v || v->type != Value::kNumber) {
        return false;
    }
    *value = v->number;
    return true;
}

bool MemorySettingsStore::ReadText(const std::string& key, const std::string& name, size_t maxBytes,
                                   std::string* value) {
    Value* v = Find(key, name);
    if (!v || v->type != Value::kText || v->text.size() + 1 > maxBytes) {
        return false;
    }
    *value = v->text;
    return true;
}

bool MemorySettingsStore::ReadBinary(const std::string& key, const std::string& name, std::vector<uint8_t>* value) {
    Value* v = Find(key, name);
    if (!v || v->type != Value::kBinary) {
        return false;
    }
    *value = v->binary;
    return true;
}

bool MemorySettingsStore::WriteNumber(const std::string& key, const std::string& name, uint32_t value) {
    Value& v = Make(key).values[Fold(name)];
    v.type = Value::kNumber;
    v.number = value;
    return true;
}

bool MemorySettingsStore::WriteText(const std::string& key, const std::string& name, const std::string& value) {
    Value& v = Make(key).values[Fold(name)];
    v.type = Value::kText;
    v.text = value;
    return true;
}

bool MemorySettingsStore::WriteBinary(const std::string& key, const std::string& name,
                                      const std::vector<uint8_t>& value) {
    Value& v = Make(key).values[Fold(name)];
    v.type = Value::kBinary;
    v.binary = value;
    return true;
}

bool MemorySettingsStore::KeyExists(const std::string& key) {
    return keys_.count(Fold(key)) != 0;
}

std::vector<std::string> MemorySettingsStore::SubKeys(const std::string& key) {
    std::vector<std::string> names;
    std::string prefix = Fold(key);
    if (!prefix.empty()) {
        prefix += '\\';
    }
    for (const auto& entry : keys_) {
        const std::string& path = entry.first;
        if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
            path.find('\\', prefix.size()) == std::string::npos) {
            names.push_back(entry.second.name.substr(prefix.size()));
        }
    }
    return names;
}

bool MemorySettingsStore::DeleteKey(const std::string& key) {
    std::string folded = Fold(key);
    if (folded.empty()) {
        keys_.clear();  // the root key holds everything
        return true;
    }
    for (auto it = keys_.begin(); it != keys_.end();) {
        const std::string& path = it->first;
        bool inside = path == folded || (path.size() > folded.size() && path.compare(0, folded.size(), folded) == 0 &&
                                         path[folded.size()] == '\\');
        it = inside ? keys_.erase(it) : std::next(it);
    }
    return true;
}

bool MemorySettingsStore::DeleteValue(const std::string& key, const std::string& name) {
    auto k = keys_.find(Fold(key));
    if (k != keys_.end()) {
        k->second.values.erase(Fold(name));
    }
    return true;
}
