// Building and reading the archiver libraries' command lines.
#include "catalogue/archive/ArchiverCommand.h"

#include <cstring>

#include "catalogue/archive/ArchiveKind.h"
#include "core/Text.h"

// Command prefixes, each ending in the quote that opens the archive path.
static const char* LzhPrefix(ExtractPurpose purpose) {
    switch (purpose) {
        case ExtractPurpose::kForReading:
            return "e -c1 -m1 -n1 -jsb1 -gm1 -gp0 \"";
        case ExtractPurpose::kQuiet:
            return "e -c1 -m1 -n1 -gm1 \"";
        case ExtractPurpose::kShown:
            break;
    }
    return "e -n0 \"";
}

static const char* ZipPrefix(ExtractPurpose purpose) {
    return purpose == ExtractPurpose::kShown ? "-x -C -i -j \"" : "-x -C --i -j -o -qq \"";
}

static const char kGcaPrefix[] = "ex -xx0 -yx0 -sx0 \"";
static const char kSeparator[] = "\" \"";

// True when the last character of text is a single-byte '\\' (not the trail
// byte of a double-byte character).
static bool EndsInBackslash(const std::string& text) {
    bool last = false;
    for (const char* p = text.c_str(); *p != '\0';) {
        const size_t n = CharBytes(p);
        last = n == 1 && *p == '\\';
        p += n;
    }
    return last;
}

static std::string MemberOf(int kind, const std::string& member) {
    std::string name = member;
    if (kind == kArchiveZip) {
        EscapeBrackets(&name);
    }
    return name;
}

std::string ExtractCommandLine(int kind,
                               ExtractPurpose purpose,
                               const std::string& archive,
                               const std::string& destinationFolder,
                               const std::string& member) {
    std::string line = kind == kArchiveLzh ? LzhPrefix(purpose) : kind == kArchiveZip ? ZipPrefix(purpose) : kGcaPrefix;
    line += archive;
    line += kSeparator;
    line += destinationFolder;
    if (!EndsInBackslash(destinationFolder)) {
        line += '\\';
    }
    line += kSeparator;
    line += MemberOf(kind, member);
    line += '"';
    return line;
}

std::string MemoryCommandLine(int kind, const std::string& archive, const std::string& member) {
    if (kind == kArchiveZip) {
        return "-C --i -j -o -qq \"" + archive + kSeparator + MemberOf(kind, member) + "\"";
    }
    if (kind == kArchiveGca) {
        return kGcaPrefix + archive + kSeparator + "dummy\\" + kSeparator + member + "\"";
    }
    return std::string();
}

namespace {

struct Word {
    std::string text;
    bool quoted = false;
};

// Splits a command line at blanks outside double quotes. False for an
// unterminated quote.
bool SplitWords(const char* line, std::vector<Word>* words) {
    const char* p = line;
    while (true) {
        while (*p == ' ' || *p == '\t') {
            ++p;
        }
        if (*p == '\0') {
            return true;
        }
        Word word;
        bool inQuotes = false;
        while (*p != '\0' && (inQuotes || (*p != ' ' && *p != '\t'))) {
            if (*p == '"') {
                inQuotes = !inQuotes;
                word.quoted = true;
                ++p;
                continue;
            }
            const size_t n = CharBytes(p);
            word.text.append(p, n);
            p += n;
        }
        if (inQuotes) {
            return false;
        }
        words->push_back(std::move(word));
    }
}

// Removes the '\\' that unzip puts before '[' and ']'.
std::string UnescapeBrackets(const std::string& name) {
    std::string plain;
    for (const char* p = name.c_str(); *p != '\0';) {
        const size_t n = CharBytes(p);
        if (n == 1 && *p == '\\' && (p[1] == '[' || p[1] == ']')) {
            ++p;
            continue;
        }
        plain.append(p, n);
        p += n;
    }
    return plain;
}

bool IsSwitch(const Word& word) {
    return !word.quoted && word.text.size() > 1 && word.text[0] == '-';
}

}  // namespace

bool ParseArchiverCommand(ArchiverSyntax syntax, const char* line, ArchiverCommand* command) {
    *command = ArchiverCommand();
    if (std::strlen(line) > kArchiverCommandMax) {
        return false;
    }
    std::vector<Word> words;
    if (!SplitWords(line, &words)) {
        return false;
    }
    // LHA and GCA lines begin with a command word; switches stand before the archive.
    const bool commandWord = syntax != ArchiverSyntax::kUnzip;
    std::vector<std::string> operands;
    for (const Word& word : words) {
        if (IsSwitch(word) && operands.size() < (commandWord ? 2u : 1u)) {
            command->switches.push_back(word.text);
        } else {
            operands.push_back(word.text);
        }
    }
    size_t next = 0;
    if (syntax == ArchiverSyntax::kLha) {
        if (operands.empty() ||
            (CompareNoCase(operands[0].c_str(), "e") != 0 && CompareNoCase(operands[0].c_str(), "x") != 0)) {
            return false;
        }
        command->command = UpperAscii(operands[0].c_str()) == "E" ? "e" : "x";
        next = 1;
    } else if (syntax == ArchiverSyntax::kGca) {
        if (operands.empty() || CompareNoCase(operands[0].c_str(), "ex") != 0) {
            return false;
        }
        command->command = "ex";
        next = 1;
    }
    if (next >= operands.size() || operands[next].empty()) {
        return false;
    }
    command->archive = operands[next++];
    if (next < operands.size() && EndsInBackslash(operands[next])) {
        command->destination = operands[next++];
    }
    if (operands.size() - next > kArchiverMembersMax) {
        return false;
    }
    for (; next < operands.size(); next++) {
        command->members.push_back(syntax == ArchiverSyntax::kUnzip ? UnescapeBrackets(operands[next])
                                                                    : operands[next]);
    }
    return true;
}

bool HasSwitch(const ArchiverCommand& command, const char* name) {
    for (const std::string& s : command.switches) {
        if (CompareNoCase(s.c_str(), name) == 0) {
            return true;
        }
    }
    return false;
}

// True for a name element that Windows would read as "..": two or more dots,
// with only dots and blanks besides (trailing dots and blanks are dropped).
static bool IsParentElement(const char* element, size_t length) {
    size_t dots = 0;
    for (size_t i = 0; i < length; i++) {
        if (element[i] == '.') {
            dots++;
        } else if (element[i] != ' ') {
            return false;
        }
    }
    return dots >= 2;
}

// True for a name element that Windows opens as a device: CON, PRN, AUX,
// NUL, COM1-COM9 or LPT1-LPT9 (any case) before the first dot, whatever
// extension follows, blanks before the dot and trailing dots and blanks
// included ("nul.mid", "Com1 .x", "aux. ."). Dots and blanks are never trail
// bytes, so the bytes are compared as they are.
static bool IsDeviceElement(const char* element, size_t length) {
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    size_t end = 0;
    while (end < length && element[end] != '.') {
        end++;
    }
    while (end > 0 && element[end - 1] == ' ') {
        end--;
    }
    const std::string base = UpperAscii(std::string(element, end).c_str());
    for (const char* device : kDevices) {
        if (base == device) {
            return true;
        }
    }
    const bool numbered = base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0);
    return numbered && base[3] >= '1' && base[3] <= '9';
}

bool IsSafeMemberName(const char* name) {
    if (name[0] == '\0' || name[0] == '/' || name[0] == '\\') {
        return false;
    }
    // A ':' (a drive letter or an alternate data stream) is never a trail byte.
    size_t elementStart = 0;
    for (size_t i = 0;;) {
        const char c = name[i];
        if (c == ':') {
            return false;
        }
        if (c == '\0' || c == '/' || c == '\\') {
            const size_t length = i - elementStart;
            if (IsParentElement(name + elementStart, length) || IsDeviceElement(name + elementStart, length)) {
                return false;
            }
            if (c == '\0') {
                return true;
            }
            elementStart = ++i;
            continue;
        }
        i += CharBytes(name + i);
    }
}

bool IsExtractableMemberName(const char* name) {
    if (!IsSafeMemberName(name)) {
        return false;
    }
    for (const char* p = name; *p != '\0'; p += CharBytes(p)) {
        if (*p == '*' || *p == '?' || *p == '"') {
            return false;
        }
    }
    return true;
}

std::string MemberTargetPath(const std::string& destination, const std::string& member, bool junkPaths) {
    std::string name;
    for (const char* p = member.c_str(); *p != '\0';) {
        const size_t n = CharBytes(p);
        if (n == 1 && (*p == '/' || *p == '\\')) {
            if (junkPaths) {
                name.clear();
            } else {
                name += '\\';
            }
        } else {
            name.append(p, n);
        }
        p += n;
    }
    return destination + name;
}
