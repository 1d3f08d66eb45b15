// The folders a recursive walk is inside, from where it started down to
// where it is now. A link to one of them (to the folder itself or to an
// ancestor) would lead the walk round the same folders without end; the
// trail refuses to enter a folder it already holds. Folders are compared by
// identity, so a link is recognised whatever name it has. A folder reached
// through a link to somewhere else (a sibling, say) is walked as any other.
#pragma once

#include <vector>

#include "core/FileSystem.h"

class FolderTrail {
   public:
    // Steps into folder (a path ending in its separator), reading its
    // identity once. False, and the trail unchanged, when the folder is
    // already on the trail. A folder whose identity cannot be read is
    // entered, as before: nothing shows it to be a loop, and such a folder
    // can seldom be listed anyway.
    bool Enter(const char* folder);
    // Steps back out of the folder entered last.
    void Leave();

   private:
    struct Step {
        bool known;
        FolderIdentity identity;
    };
    std::vector<Step> steps_;
};
