// Reading the command line word by word with NextCommandWord: options begin
// with '/' or '-', every other word is a path.
#include "core/CommandLine.h"

#include <cstring>

#include "core/FileFinder.h"
#include "core/Location.h"
#include "core/SongFile.h"
#include "core/Text.h"

namespace {

enum class OptionField { kPlayMode, kPlayer, kSubFolders };

struct ClientOption {
    const char* name;
    OptionField field;
    int32_t value;
};

const ClientOption kClientOptions[] = {
    {"stop", OptionField::kPlayMode, kStartPlayNone},
    {"play", OptionField::kPlayMode, kStartPlaySelection},
    {"auto", OptionField::kPlayMode, kStartPlayAuto},
    {"random", OptionField::kPlayMode, kStartPlayRandom},
    {"randomp", OptionField::kPlayMode, kStartPlayRandomFromSelection},
    {"repeat", OptionField::kPlayMode, kStartPlayRepeat},
    {"s", OptionField::kSubFolders, 1},
    {"s:1", OptionField::kSubFolders, 1},
    {"s:0", OptionField::kSubFolders, 0},
    // The players, numbered as in the player table.
    {"p:mplay", OptionField::kPlayer, 0},
    {"p:wmplay", OptionField::kPlayer, 1},
    {"p:wfp", OptionField::kPlayer, 2},
    {"p:mpvg", OptionField::kPlayer, 3},
    {"p:tmidi", OptionField::kPlayer, 4},
    {"p:decop", OptionField::kPlayer, 5},
    {"p:kbmedia", OptionField::kPlayer, 6},
    {"p:winamp", OptionField::kPlayer, 7},
    {"p:scmpx", OptionField::kPlayer, 8},
    {"p:gratzer", OptionField::kPlayer, 9},
    {"p:audioactive", OptionField::kPlayer, 10},
    {"p:lilith", OptionField::kPlayer, 11},
    {"p:user", OptionField::kPlayer, kPlayerKindUserDefined},
};

struct WindowOption {
    const char* name;
    int32_t state;
};

const WindowOption kWindowOptions[] = {
    {"w:min", kWindowStateMinimized},
    {"w:max", kWindowStateMaximized},
    {"w:normal", kWindowStateNormal},
};

// Walks the words after the program's own path.
class WordReader {
   public:
    explicit WordReader(const char* commandLine) : rest_(commandLine) {
        Next();
    }
    // Moves to the next word; false when none is left.
    bool Next() {
        rest_ = rest_ ? NextCommandWord(word_, sizeof(word_), rest_) : nullptr;
        return rest_ != nullptr;
    }
    const char* Word() const {
        return word_;
    }
    // The option name without its '/' or '-', or null for a path word.
    const char* OptionName() const {
        return (word_[0] == '/' || word_[0] == '-') ? word_ + 1 : nullptr;
    }

   private:
    char word_[kCommandWordMax + 1] = {};
    const char* rest_;
};

}  // namespace

// The text cut to what a 512-byte setting holds, never inside a character.
static std::string BoundedSetting(const std::string& text) {
    char buffer[kCommandWordMax + 1];
    const size_t used = CopyBounded(buffer, text.c_str(), kCommandWordMax);
    return std::string(buffer, used);
}

static bool EndsWithNoCase(const char* text, const char* suffix) {
    const size_t length = std::strlen(text);
    const size_t n = std::strlen(suffix);
    // A suffix starting with '.' can be compared byte-wise: '.' is never the
    // trail byte of a double-byte character.
    return length >= n && CompareNoCase(text + length - n, suffix) == 0;
}

// "D:\\midi\\a.lzh>x\\s.mid" selects the archive's folder and the member.
static void SplitArchiveMember(const Location& path, std::string* location, std::string* file) {
    std::string archiveName;
    SplitPath(path.ArchivePath().c_str(), location, &archiveName, false);
    *file = archiveName + ">" + path.Member();
}

static void ApplyPathWord(const char* word, CommandLineFiles* files, CommandLineRequest* request) {
    const Location path(word);
    std::string location;
    std::string file;
    if (files->ArchiveKindOfMember(word) != 0 && path.HasMark()) {
        SplitArchiveMember(path, &location, &file);
    } else {
        // A path with a mark ("best.lst>song.mid") is split after it.
        SplitPath(word, &location, &file, true);
        if (!file.empty() && !path.HasMark()) {
            if (files->IsFolder(word)) {
                location = std::string(word) + "\\";
                file.clear();
            } else if (EndsWithNoCase(word, ".lst")) {
                location = std::string(word) + ">";
                file.clear();
            }
        }
    }
    request->lastPath = BoundedSetting(location);
    request->lastFile = BoundedSetting(file);
}

// A list file's entry or an archive member exists as far as the file before
// its '>' does; what lies inside is looked for when the location is opened.
static bool PathWordExists(const char* word, CommandLineFiles* files) {
    return files->Exists(Location(word).ArchivePath().c_str());
}

static const ClientOption* FindClientOption(const char* name) {
    for (const ClientOption& option : kClientOptions) {
        if (CompareNoCase(name, option.name) == 0) {
            return &option;
        }
    }
    return nullptr;
}

void ParseClientCommandLine(const char* commandLine, CommandLineFiles* files, CommandLineRequest* request) {
    // A path switches sub-folders off, but an "s" option anywhere on the line
    // has the last word.
    bool subFoldersGiven = false;
    bool subFolders = false;
    for (WordReader reader(commandLine); reader.Next();) {
        const char* name = reader.OptionName();
        if (!name) {
            if (!PathWordExists(reader.Word(), files)) {
                if (request->missingPath.empty()) {
                    request->missingPath = reader.Word();
                }
                continue;
            }
            ApplyPathWord(reader.Word(), files, request);
            request->includeSubFolders = false;
            continue;
        }
        const ClientOption* option = FindClientOption(name);
        if (!option) {
            continue;
        }
        switch (option->field) {
            case OptionField::kPlayMode:
                request->startPlayMode = option->value;
                break;
            case OptionField::kPlayer:
                request->playerKind = option->value;
                break;
            case OptionField::kSubFolders:
                subFoldersGiven = true;
                subFolders = option->value != 0;
                break;
        }
    }
    if (subFoldersGiven) {
        request->includeSubFolders = subFolders;
    }
    // The user-defined player has no play modes of its own: any play option
    // plays the selection once.
    if (request->playerKind == kPlayerKindUserDefined && request->startPlayMode != kStartPlayNone) {
        request->startPlayMode = kStartPlaySelection;
    }
}

int32_t ParseWindowStateOptions(const char* commandLine, int32_t storedState) {
    int32_t state = storedState;
    for (WordReader reader(commandLine); reader.Next();) {
        const char* name = reader.OptionName();
        if (!name) {
            continue;
        }
        for (const WindowOption& option : kWindowOptions) {
            if (CompareNoCase(name, option.name) == 0) {
                state = option.state;
            }
        }
    }
    return state;
}

bool SystemCommandLineFiles::IsFolder(const char* path) {
    // A wildcard would make the finder report whatever matches it first.
    if (FindEitherChar(path, '*', '?') >= 0) {
        return false;
    }
    FindRecord record;
    const std::unique_ptr<FileFinder> finder = FinderOpen(&record, path, nullptr);
    return finder->Found() && (record.attributes & kAttrDirectory) != 0;
}

int SystemCommandLineFiles::ArchiveKindOfMember(const char* path) {
    return ArchiveKindOfPathHook(path);
}

bool SystemCommandLineFiles::Exists(const char* path) {
    if (FindEitherChar(path, '*', '?') >= 0) {
        return false;
    }
    // A folder written with its trailing separator is found by its entries.
    const size_t length = strlen(path);
    const bool folder = length > 0 && LastSeparator(path) == int(length) - 1;
    FindRecord record;
    const std::unique_ptr<FileFinder> finder =
        FinderOpen(&record, (std::string(path) + (folder ? "*" : "")).c_str(), nullptr);
    return finder->Found();
}
