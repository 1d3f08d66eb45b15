// Matches any pattern against any name (the input split at its first NUL)
// and checks the rules that hold whatever the bytes: a lone star matches
// every name and a name without wildcards matches itself.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "catalogue/archive/MemberMatch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t nul = text.find('\0');
    std::string pattern = text.substr(0, nul);
    std::string name = nul == std::string::npos ? std::string() : text.substr(nul + 1);
    name = name.substr(0, name.find('\0'));
    MatchMemberName(pattern.c_str(), name.c_str());
    if (!MatchMemberName("*", name.c_str())) {
        __builtin_trap();
    }
    if (name.find_first_of("*?") == std::string::npos && !MatchMemberName(name.c_str(), name.c_str())) {
        __builtin_trap();
    }
    return 0;
}
