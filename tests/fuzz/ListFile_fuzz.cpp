// Reads arbitrary bytes as a list file: the header check, the line splitter
// and the line classifier, without touching the file system. Lines never hold
// a CR or LF, the splitter always advances, and removing options is idempotent.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "catalogue/ListFile.h"

static void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const size_t header = ListHeaderLength(bytes, size);
    // The header line is a UTF-8 byte order mark or none, the header text and
    // at most two line-end bytes.
    Check(header == 0 || (header >= 18 && header <= 3 + 25 && header <= size));
    const std::string body(bytes + header, size - header);
    const ListPathBase base{"C:", "D:\\表\\lists\\"};
    size_t position = 0;
    std::string line;
    while (true) {
        const size_t before = position;
        if (!ReadLine(body, &position, &line)) {
            break;
        }
        Check(position > before);
        Check(line.find_first_of("\r\n") == std::string::npos);
        const ListLine parsed = ParseListLine(line, base);
        if (parsed.kind == ListLine::kIgnored) {
            Check(parsed.path.empty());
            continue;
        }
        std::string stripped = line;
        ParseListOptions(&stripped);
        const std::string once = stripped;
        Check(!ParseListOptions(&stripped));
        Check(stripped == once);
        // A NUL inside a line ends the path there, as it does for every caller.
        const char* path = parsed.path.c_str();
        Check(MakeListEntry(path, true).size() >= std::strlen(path));
    }
    return 0;
}
