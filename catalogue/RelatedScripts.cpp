// The script scanners: which pictures, fonts and programs a WRD text script,
// a Sherry WRD script or a NEO script names. Scripts come from anywhere, so
// every length is checked against the bytes that are there, names are capped
// and a double-byte character is never split.
#include <cstring>

#include "catalogue/RelatedFiles.h"
#include "core/Text.h"

// A WRD text script may start with a 128-byte binary header.
constexpr size_t kWrdHeaderBytes = 128;
// Sherry WRD and NEO scripts keep their records from offset 16 on.
constexpr size_t kScriptRecordsOffset = 16;
// Limits that no genuine script reaches.
constexpr size_t kMaxScriptNames = 4096;
constexpr size_t kMaxNameBytes = 511;
// A Sherry event record naming a file: a quote, four bytes, then the name.
constexpr size_t kQuotedNameSkip = 5;

static bool IsBlank(uint8_t c) {
    return c == ' ' || c == '\t';
}

static uint8_t FoldUpper(uint8_t c) {
    return (c >= 'a' && c <= 'z') ? uint8_t(c - 0x20) : c;
}

// Bytes of the character at pos: 2 for a lead byte with a byte after it.
static size_t CharAt(const uint8_t* bytes, size_t size, size_t pos) {
    return (IsLeadByte(bytes[pos]) && size - pos > 1) ? 2 : 1;
}

// Copies a name of at most kMaxNameBytes bytes, stopping at a NUL; a lead
// byte without its trail byte is dropped.
static std::string TakeName(const uint8_t* bytes, size_t size) {
    std::string name;
    size_t pos = 0;
    while (pos < size && bytes[pos] != 0) {
        const size_t n = CharAt(bytes, size, pos);
        if (IsLeadByte(bytes[pos]) && n == 1) {
            break;
        }
        if (name.size() + n > kMaxNameBytes) {
            break;
        }
        name.append(reinterpret_cast<const char*>(bytes + pos), n);
        pos += n;
    }
    return name;
}

static void AddName(std::vector<std::string>* names, std::string name) {
    if (!name.empty() && names->size() < kMaxScriptNames) {
        names->push_back(std::move(name));
    }
}

static size_t SkipBlanks(const uint8_t* bytes, size_t size, size_t pos) {
    while (pos < size && IsBlank(bytes[pos])) {
        pos++;
    }
    return pos;
}

// Reads a command argument up to ')', a blank, a control byte or (when
// commaEnds) ','. Returns the position after it.
static size_t ReadArgument(const uint8_t* bytes, size_t size, size_t pos, bool commaEnds, std::string* name) {
    const size_t start = pos;
    while (pos < size) {
        const uint8_t c = bytes[pos];
        if (c == ')' || IsBlank(c) || c < 0x20 || (commaEnds && c == ',')) {
            break;
        }
        pos += CharAt(bytes, size, pos);
    }
    *name = TakeName(bytes + start, pos - start);
    return pos;
}

// Where a command's first argument starts: past the command's last letter
// (at pos), the opening parenthesis and any blanks.
static size_t FirstArgument(const uint8_t* bytes, size_t size, size_t pos) {
    return SkipBlanks(bytes, size, size - pos > 2 ? pos + 2 : size);
}

// @MAG(name, ...) and @PLOAD(name, ...): pos is at the command's last letter.
static size_t ReadLoadCommand(const uint8_t* bytes, size_t size, size_t pos, std::vector<std::string>* names) {
    pos = FirstArgument(bytes, size, pos);
    std::string name;
    pos = ReadArgument(bytes, size, pos, true, &name);
    AddName(names, std::move(name));
    return pos;
}

// @EXEC(program /Ffont ...): the program, and the font or module file each
// /F or /M option names; a font name without extension means a .fon file.
static size_t ReadExecCommand(const uint8_t* bytes, size_t size, size_t pos, std::vector<std::string>* names) {
    pos = FirstArgument(bytes, size, pos);
    std::string name;
    pos = ReadArgument(bytes, size, pos, false, &name);
    AddName(names, std::move(name));
    while (pos < size && bytes[pos] != ')') {
        const uint8_t option = size - pos > 1 ? FoldUpper(bytes[pos + 1]) : 0;
        if (bytes[pos] == '/' && (option == 'F' || option == 'M')) {
            pos = ReadArgument(bytes, size, pos + 2, false, &name);
            std::string extension;
            SplitExtension(name.c_str(), nullptr, &extension);
            if (!name.empty() && extension.empty()) {
                name += ".fon";
            }
            // A name that no longer fits a path buffer with its extension names nothing.
            if (name.size() <= kMaxNameBytes) {
                AddName(names, std::move(name));
            }
            continue;
        }
        pos += CharAt(bytes, size, pos);
    }
    return pos;
}

std::vector<std::string> ScanWrdScript(const uint8_t* bytes, size_t size) {
    static const char* const kWords[] = {"@MAG", "@PLOAD", "@EXEC"};
    constexpr size_t kExec = 2;
    std::vector<std::string> names;
    size_t matched[3] = {0, 0, 0};
    size_t pos = (size > kWrdHeaderBytes && bytes[0] == 0) ? kWrdHeaderBytes : 0;
    while (pos < size && names.size() < kMaxScriptNames) {
        const size_t n = CharAt(bytes, size, pos);
        if (n == 2) {
            // A trail byte may equal '@' or a letter; a double-byte
            // character continues no command word.
            std::memset(matched, 0, sizeof matched);
            pos += n;
            continue;
        }
        const uint8_t c = FoldUpper(bytes[pos]);
        size_t completed = SIZE_MAX;
        for (size_t w = 0; w < 3; w++) {
            if (c == uint8_t(kWords[w][matched[w]])) {
                matched[w]++;
            } else {
                matched[w] = c == '@' ? 1 : 0;
            }
            if (kWords[w][matched[w]] == '\0') {
                completed = w;
            }
        }
        if (completed == SIZE_MAX) {
            pos++;
            continue;
        }
        std::memset(matched, 0, sizeof matched);
        pos =
            completed == kExec ? ReadExecCommand(bytes, size, pos, &names) : ReadLoadCommand(bytes, size, pos, &names);
    }
    return names;
}

// Reads a variable-length number at *pos; false when no byte is left.
static bool ReadNumber(const uint8_t* bytes, size_t size, size_t* pos, uint32_t* value) {
    const int n = ReadVarLen(bytes + *pos, size - *pos, value);
    if (n <= 0) {
        return false;
    }
    *pos += size_t(n);
    return true;
}

// The event records shared by Sherry WRD and NEO scripts: [number][length]
// [data]. A record whose data starts with a quote names a file; one whose
// data starts with a zero byte ends the script.
static std::vector<std::string> ScanEventRecords(const uint8_t* bytes, size_t size, size_t pos) {
    std::vector<std::string> names;
    while (pos < size && names.size() < kMaxScriptNames) {
        uint32_t number = 0;
        uint32_t length = 0;
        if (!ReadNumber(bytes, size, &pos, &number) || !ReadNumber(bytes, size, &pos, &length)) {
            break;
        }
        if (length > size - pos) {
            break;
        }
        const uint8_t* data = bytes + pos;
        pos += length;
        if (length == 0) {
            continue;
        }
        if (data[0] == 0) {
            break;
        }
        if (data[0] == '\'' && length > kQuotedNameSkip) {
            AddName(&names, TakeName(data + kQuotedNameSkip, length - kQuotedNameSkip));
        }
    }
    return names;
}

std::vector<std::string> ScanSherryScript(const uint8_t* bytes, size_t size) {
    static const uint8_t kMagic[12] = {'S', 'h', 'e', 'r', 'r', 'y', ' ', 'W', 'R', 'D', 0, 0};
    if (size < kScriptRecordsOffset || std::memcmp(bytes, kMagic, sizeof kMagic) != 0) {
        return {};
    }
    // Header records: [length][data], up to the first non-empty one whose
    // data starts with a zero byte.
    size_t pos = kScriptRecordsOffset;
    for (;;) {
        uint32_t length = 0;
        if (!ReadNumber(bytes, size, &pos, &length) || length > size - pos) {
            return {};
        }
        const uint8_t* data = bytes + pos;
        pos += length;
        if (length != 0 && data[0] == 0) {
            break;
        }
    }
    return ScanEventRecords(bytes, size, pos);
}

std::vector<std::string> ScanNeoScript(const uint8_t* bytes, size_t size) {
    static const uint8_t kMagic[4] = {'N', 'E', 'O', 0};
    if (size < kScriptRecordsOffset || std::memcmp(bytes, kMagic, sizeof kMagic) != 0) {
        return {};
    }
    const uint32_t headerBytes =
        uint32_t(bytes[8]) | uint32_t(bytes[9]) << 8 | uint32_t(bytes[10]) << 16 | uint32_t(bytes[11]) << 24;
    if (headerBytes > size - kScriptRecordsOffset) {
        return {};
    }
    return ScanEventRecords(bytes, size, kScriptRecordsOffset + headerBytes);
}
