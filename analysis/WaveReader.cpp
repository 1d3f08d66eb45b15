// WAVE files: the title, artist and comment of the LIST INFO chunk. A WAVE
// file names its song in the subject chunk "ISBJ"; "INAM" is not read here.
#include "analysis/AudioTags.h"
#include "analysis/RiffChunks.h"
#include "analysis/SongReaders.h"

int32_t ReadWaveFile(SongFile& file, SongInfo* info, char* title, char* comment) {
    RiffWalker walker(file);
    RiffChunk form;
    AudioTag tag;
    if (!walker.OpenForm(MakeFourCC('W', 'A', 'V', 'E'), &form) ||
        !ReadRiffListTag(walker, form, MakeFourCC('I', 'S', 'B', 'J'), WantsComment(info, comment), &tag)) {
        return ComposeNoTag(info, comment);
    }
    return ComposeTagResult(tag, info, title, comment);
}
