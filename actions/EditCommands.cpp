#include "actions/EditCommands.h"

#include <vector>

#include "analysis/FileTypes.h"
#include "analysis/MpegReader.h"
#include "catalogue/RelatedFiles.h"

namespace {

constexpr EditorClass kWrdClasses[] = {EditorClass::kWrd, EditorClass::kSherryWrd, EditorClass::kNeoWrd};

}  // namespace

// The first extension of the list, in the list's order, that a file named
// like the song has; its path goes to found.
static bool FindFirstCompanion(const std::string& songPath,
                               const std::vector<std::string>& extensions,
                               std::string* found,
                               size_t* which) {
    for (size_t i = 0; i < extensions.size(); ++i) {
        if (FindRelatedFiles(songPath.c_str(), false, {extensions[i].c_str()}, found, nullptr) > 0) {
            *which = i;
            return true;
        }
    }
    return false;
}

bool FindEditTarget(EditWhat what, const std::string& songPath, const std::string& userTextExt, EditTarget* target) {
    if (songPath.empty()) {
        return false;
    }
    std::string found;
    size_t which = 0;
    switch (what) {
        case EditWhat::kSong:
            *target = {songPath, EditorClass::kMidi};
            return true;
        case EditWhat::kWrdScript:
            if (!FindFirstCompanion(songPath, {"wrd", "sry", "nbf"}, &found, &which)) {
                return false;
            }
            *target = {found, kWrdClasses[which]};
            return true;
        case EditWhat::kDocument: {
            std::vector<std::string> extensions = {"hed", "txt", "doc", "log"};
            if (!userTextExt.empty()) {
                extensions.push_back(userTextExt);
            }
            if (!FindFirstCompanion(songPath, extensions, &found, &which)) {
                return false;
            }
            *target = {found, EditorClass::kText};
            return true;
        }
    }
    return false;
}

EditorLaunch ChooseEditor(const EditorSettings& editor, EditorClass kind) {
    switch (kind) {
        case EditorClass::kMidi:
            return {editor.midiChain, editor.midiAction, editor.midiFilename};
        case EditorClass::kWrd:
            return {editor.wrdChain, editor.wrdAction, editor.wrdFilename};
        case EditorClass::kSherryWrd:
            return {editor.sherryWrdChain, editor.sherryWrdAction, editor.sherryWrdFilename};
        case EditorClass::kNeoWrd:
            return {editor.neoWrdChain, editor.neoWrdAction, editor.neoWrdFilename};
        case EditorClass::kText:
            return {editor.textChain, editor.textAction, editor.textFilename};
    }
    return {};
}

std::string EditorCommandLine(const std::string& program, const std::string& file) {
    std::string line = (!program.empty() && program[0] == '"') ? program : "\"" + program + "\"";
    return line + " \"" + file + "\"";
}

std::string ShellPropertyPage(uint32_t shellPropertySel, int32_t fileType, int mp3TagKind, const std::string& tab) {
    if (shellPropertySel != 1) {
        return tab;
    }
    switch (fileType) {
        case kKindMpeg:
        case kKindRiffMpeg:
            return Mp3TagPageName(mp3TagKind);
        case kKindWave:
        case kKindWindowsMedia:
        case kKindMonkey:
        case kKindOgg:
            return "mp3infp";
        default:
            return tab;
    }
}
