// quillory-cli: the catalogue without windows. Lists a folder or list file
// with the song list's columns, using and refreshing the title cache as the
// program does; shows one song's information; updates, creates or deletes a
// location's title cache; writes a location's list as an HTML page.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// Exit codes.
constexpr int kCliSuccess = 0;
constexpr int kCliFailed = 1;    // missing folder, unreadable list, write error
                                 // (a title cache that list and export-html
                                 // cannot write is only a warning)
constexpr int kCliBadUsage = 2;  // unknown command or option

// How quillory-cli writes its text, results and messages alike: the
// catalogue's own code page 932 bytes (Shift_JIS, what a Japanese Windows
// console shows) or UTF-8 (what a UTF-8 terminal shows). --sjis and --utf8
// choose one over the default the caller gives.
enum class CliEncoding { kShiftJis, kUtf8 };

// The encoding a Unix locale asks for: UTF-8 when the first non-empty one of
// LC_ALL, LC_CTYPE and LANG (each may be null) names the UTF-8 code set,
// else Shift_JIS.
CliEncoding EncodingOfLocale(const char* lcAll, const char* lcCtype, const char* lang);

// Runs one command; args excludes the program name. Results go to out,
// messages and progress to err, in the encoding chosen. Returns an exit code
// above; --help, -h and --version print to out and succeed.
int RunCli(const std::vector<std::string>& args,
           std::ostream& out,
           std::ostream& err,
           CliEncoding encoding = CliEncoding::kShiftJis);

// The catalogue's location for a path given on the command line: separators
// become '\\'; a folder ends in '\\', a list file (".lst") is followed by '>',
// and an archive file by '>' (its members are listed like a folder). A path
// ending in '>' is taken as it is.
std::string LocationOfArgument(const std::string& argument, bool isFolder);

// The song information of the properties window as "label value" lines,
// followed by the tracks, the related files and the comment.
std::string SongInformationText(const char* path);
