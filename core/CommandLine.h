// The program's command line: options choose the play mode, the player, the
// sub-folder setting and the first window state; path words choose the
// location and song selected at start-up. The line is read in two passes over
// the settings already loaded, so every option overrides the stored value:
// the client pass for everything but the window state, the window pass for
// the window state alone. Nothing on a command line is an error: unknown
// options are ignored and paths need not exist.
#pragma once

#include <cstdint>
#include <string>

// Start play modes (the "PlayMode" setting).
constexpr int32_t kStartPlayNone = 0;
constexpr int32_t kStartPlayAuto = 1;
constexpr int32_t kStartPlayRandom = 2;
constexpr int32_t kStartPlayRepeat = 3;
constexpr int32_t kStartPlaySelection = 100;
constexpr int32_t kStartPlayRandomFromSelection = 101;

// The user-defined player's kind; the others run from 0 to 11.
constexpr int32_t kPlayerKindUserDefined = 100;

// First window states (the "Window" setting of "Window").
constexpr int32_t kWindowStateNormal = 0;
constexpr int32_t kWindowStateMinimized = 1;
constexpr int32_t kWindowStateMaximized = 2;

// The longest word, location and file the command line stores (their
// buffers hold 512 bytes with the terminator).
constexpr size_t kCommandWordMax = 511;  // bytes

// What the client pass needs to know about the file system. Tests answer
// from a table; SystemCommandLineFiles asks the real one.
class CommandLineFiles {
   public:
    virtual ~CommandLineFiles() = default;
    // True when the path names an existing folder.
    virtual bool IsFolder(const char* path) = 0;
    // The kind of archive the path points into ("a.lzh>x.mid"), or 0 when it
    // is no archive member or that archiver is not available.
    virtual int ArchiveKindOfMember(const char* path) = 0;
    // True when a file or folder of that name exists. Tables that do not
    // answer it take every path for an existing one.
    virtual bool Exists(const char*) {
        return true;
    }
};

// Answers through the finder and the installed archive hooks.
class SystemCommandLineFiles : public CommandLineFiles {
   public:
    bool IsFolder(const char* path) override;
    int ArchiveKindOfMember(const char* path) override;
    bool Exists(const char* path) override;
};

// The start-up choices the client pass may change. The caller fills them from
// the loaded settings, parses, and stores them back.
struct CommandLineRequest {
    int32_t startPlayMode = kStartPlayNone;
    int32_t playerKind = 0;
    std::string lastPath;  // a folder ending in '\\', a list file and '>', ...
    std::string lastFile;  // relative to lastPath; "a.lzh>member" for members
    bool includeSubFolders = false;
    // The first path word naming nothing that exists (the file or folder
    // before any '>'); such a word is left out as if it were not there.
    std::string missingPath;
};

// The client pass over a whole command line (the program's own path first).
// Applies every option and path word to *request, then the rule that the
// user-defined player only ever plays the selection once.
void ParseClientCommandLine(const char* commandLine, CommandLineFiles* files, CommandLineRequest* request);

// The window pass: returns the window state chosen by the last "w:" option,
// or storedState when there is none.
int32_t ParseWindowStateOptions(const char* commandLine, int32_t storedState);
