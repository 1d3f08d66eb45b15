// The trail of a recursive folder walk; the identities come from the
// platform's file layer.
#include "core/FolderTrail.h"

bool FolderTrail::Enter(const char* folder) {
    Step step = {};
    step.known = ReadFolderIdentity(folder, &step.identity);
    if (step.known) {
        for (const Step& on : steps_) {
            if (on.known && on.identity == step.identity) {
                return false;
            }
        }
    }
    steps_.push_back(step);
    return true;
}

void FolderTrail::Leave() {
    steps_.pop_back();
}
