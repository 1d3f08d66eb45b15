// A small RIFF chunk walker over any SongFile: finds a RIFF form, a LIST of a
// given type, or a chunk by id inside the current parent, honouring the
// padding byte after odd-sized chunks. Every size is checked against the
// parent's end, so a chunk that claims more than is there ends the walk.
#pragma once

#include <cstdint>

#include "core/SongFile.h"

constexpr uint32_t MakeFourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 | uint32_t(uint8_t(d)) << 24;
}

struct RiffChunk {
    uint32_t id = 0;        // chunk id
    uint32_t formType = 0;  // form or list type for "RIFF" and "LIST" chunks
    uint32_t size = 0;      // data size as stored (clamped to the parent)
    uint32_t dataOffset = 0;  // file offset of the data (after the list type for RIFF/LIST)
    uint32_t end = 0;       // offset just past the data and its padding byte
};

class RiffWalker {
  public:
    explicit RiffWalker(SongFile& file);

    // Descends into the "RIFF" form at offset 0 when its form type matches
    // (0 accepts any). False when the file is no RIFF file.
    bool OpenForm(uint32_t formType, RiffChunk* form);

    // Looks for the next chunk with this id (0: any) between `from` and the end
    // of `parent`. For "LIST" chunks listType must match (0: any).
    bool FindChunk(const RiffChunk& parent, uint32_t from, uint32_t id, uint32_t listType, RiffChunk* found);

    // Reads up to n bytes of a chunk's data into buffer; returns the count.
    uint32_t ReadData(const RiffChunk& chunk, void* buffer, uint32_t n);

  private:
    SongFile& file_;
    uint32_t fileSize_;
};
