// The Edit commands of the song list: which file of the focused song is
// opened (the song, its WRD script or its document) and with what (the
// file's shell association and a verb, or the class's editor program), and
// the page the shell's properties window opens on.
#pragma once

#include <cstdint>
#include <string>

#include "core/Settings.h"

// The file classes of the editor settings.
enum class EditorClass { kMidi, kWrd, kSherryWrd, kNeoWrd, kText };

// What an Edit command asks for.
enum class EditWhat { kSong, kWrdScript, kDocument };

struct EditTarget {
    std::string path;  // a file, or a member path inside an archive
    EditorClass kind = EditorClass::kMidi;
};

// Finds the file a command edits for a song: the song itself; its first WRD
// companion ("wrd", "sry", "nbf"); or its first document ("hed", "txt",
// "doc", "log", then the user's own extension). False when there is none.
bool FindEditTarget(EditWhat what, const std::string& songPath, const std::string& userTextExt, EditTarget* target);

// How a class is opened: through its shell association with a verb, or by
// starting its editor program with the file.
struct EditorLaunch {
    bool viaShell = true;
    std::string verb;
    std::string program;
};
EditorLaunch ChooseEditor(const EditorSettings& editor, EditorClass kind);

// The command line that starts program with file: the program's name quoted
// unless it is quoted already, then the file quoted.
std::string EditorCommandLine(const std::string& program, const std::string& file);

// The page the shell's properties window opens on. With sel 1, MPEG audio
// (types 11 and 12) opens the page of its tag kind, the other audio kinds
// "mp3infp", everything else the chosen tab; otherwise always the tab.
std::string ShellPropertyPage(uint32_t shellPropertySel, int32_t fileType, int mp3TagKind, const std::string& tab);
