// Folder trees that lead back into themselves through symbolic links, with
// the songs a walk of each has to find, for the loop tests of the pure core
// and of the Windows program.
#pragma once

#include <string>
#include <vector>

#include "TestPaths.h"

struct FolderLink {
    const char* name;
    const char* target;  // relative to the link's folder
};

// A tree under "lib" of a scratch folder, and the song paths a walk of lib
// with its sub-folders has to find (relative to lib, in the catalogue's form,
// sorted): each song once on every path that is no loop.
struct LoopCase {
    const char* what;
    std::vector<std::string> folders;
    std::vector<std::string> songs;
    std::vector<FolderLink> links;
    std::vector<std::string> found;
};

const LoopCase kLoopCases[] = {
    {"two links to the folder itself",
     {"sub"},
     {"a.mid", "sub/b.mid"},
     {{"self", "."}, {"again", "."}},
     {"a.mid", "sub\\b.mid"}},
    {"a link to the grandparent",
     {"sub", "sub/deep"},
     {"a.mid", "sub/deep/c.mid"},
     {{"sub/deep/top", "../.."}},
     {"a.mid", "sub\\deep\\c.mid"}},
    {"a link to a sibling", {"x"}, {"x/d.mid"}, {{"y", "x"}}, {"x\\d.mid", "y\\d.mid"}},
    {"a link to a sibling that links back to its parent",
     {"x"},
     {"x/d.mid"},
     {{"y", "x"}, {"x/back", ".."}},
     {"x\\d.mid", "y\\d.mid"}},
};

// The folders and songs of a case, and its links unless told otherwise.
class LoopTree {
   public:
    explicit LoopTree(const LoopCase& c, bool withLinks = true) : case_(c) {
        const std::string midi = ReadWholeFile(TestDataPath("midi/conductor-format1.mid"));
        made_ = !midi.empty() && folder_.MakeFolder("lib");
        for (const std::string& name : c.folders) {
            made_ = made_ && folder_.MakeFolder("lib/" + name);
        }
        for (const std::string& name : c.songs) {
            made_ = made_ && WriteWholeFile(folder_.File("lib/" + name), midi);
        }
        if (withLinks) {
            MakeLinks();
        }
    }
    void MakeLinks() {
        for (const FolderLink& link : case_.links) {
            made_ = made_ && folder_.MakeLink(std::string("lib/") + link.name, link.target);
        }
    }
    // False when a folder, song or link could not be made.
    bool Made() const {
        return made_;
    }
    // The scratch folder in the catalogue's form (its last separator '\\').
    std::string Base() const {
        std::string path = folder_.Path();
        path.back() = '\\';
        return path;
    }
    std::string Library() const {
        return Base() + "lib\\";
    }
    // A file of the scratch folder, as the system names it.
    std::string File(const std::string& name) const {
        return folder_.File(name);
    }

   private:
    const LoopCase& case_;
    ScratchFolder folder_;
    bool made_ = false;
};
