// Walks the chunks of RIFF files (RMID, WAVE, RMP3) over a SongFile. Sizes are
// clamped to the parent chunk, because writers of the nineties often stored the
// size of the whole file, or garbage, in the last chunk of a form.
#include "analysis/RiffChunks.h"

#include <algorithm>

namespace {

constexpr uint32_t kRiffId = MakeFourCC('R', 'I', 'F', 'F');
constexpr uint32_t kListId = MakeFourCC('L', 'I', 'S', 'T');
constexpr uint32_t kChunkHeaderBytes = 8;
constexpr uint32_t kMaxSeekable = 0x7FFFFFFF;  // Seek takes a signed 32-bit offset
// A form of tiny chunks would otherwise cost one read per 8 bytes of file.
constexpr int kMaxChunksPerSearch = 4096;

uint32_t ReadLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool HasTypeWord(uint32_t id, uint32_t size) {
    return (id == kRiffId || id == kListId) && size >= 4;
}

// Reads exactly n bytes at offset; false when the file does not hold them all.
bool ReadAt(SongFile& file, uint32_t fileSize, uint32_t offset, void* buffer, uint32_t n) {
    if (offset > fileSize || n > fileSize - offset) {
        return false;
    }
    file.Seek(int32_t(offset), kSeekBegin);
    uint32_t count = 0;
    return file.Read(buffer, n, &count) && count == n;
}

}  // namespace

RiffWalker::RiffWalker(SongFile& file) : file_(file) {
    uint32_t high = 0;
    const uint32_t low = file.Size(&high);
    fileSize_ = high != 0 ? kMaxSeekable : std::min(low, kMaxSeekable);
}

bool RiffWalker::OpenForm(uint32_t formType, RiffChunk* form) {
    uint8_t header[12];
    if (!ReadAt(file_, fileSize_, 0, header, sizeof(header)) || ReadLe32(header) != kRiffId) {
        return false;
    }
    const uint32_t type = ReadLe32(header + 8);
    if (formType != 0 && type != formType) {
        return false;
    }
    form->id = kRiffId;
    form->formType = type;
    form->size = std::max<uint32_t>(4, std::min(ReadLe32(header + 4), fileSize_ - kChunkHeaderBytes));
    form->dataOffset = sizeof(header);
    form->end = kChunkHeaderBytes + form->size;
    return true;
}

bool RiffWalker::FindChunk(const RiffChunk& parent, uint32_t from, uint32_t id, uint32_t listType, RiffChunk* found) {
    const uint32_t parentEnd = std::min(parent.end, fileSize_);
    uint32_t pos = from;
    for (int i = 0; i < kMaxChunksPerSearch; ++i) {
        if (pos > parentEnd || parentEnd - pos < kChunkHeaderBytes) {
            return false;
        }
        uint8_t header[kChunkHeaderBytes + 4];
        const uint32_t headerBytes = std::min<uint32_t>(sizeof(header), parentEnd - pos);
        if (!ReadAt(file_, fileSize_, pos, header, headerBytes)) {
            return false;
        }
        RiffChunk chunk;
        chunk.id = ReadLe32(header);
        const uint32_t storedSize = ReadLe32(header + 4);
        const uint32_t dataStart = pos + kChunkHeaderBytes;
        chunk.size = std::min(storedSize, parentEnd - dataStart);
        const uint32_t padding = storedSize & 1;
        chunk.end = chunk.size + padding > parentEnd - dataStart ? parentEnd : dataStart + chunk.size + padding;
        chunk.dataOffset = dataStart;
        if (HasTypeWord(chunk.id, chunk.size) && headerBytes == sizeof(header)) {
            chunk.formType = ReadLe32(header + kChunkHeaderBytes);
            chunk.dataOffset = dataStart + 4;
        }
        const bool idMatches = id == 0 || chunk.id == id;
        const bool typeMatches = listType == 0 || (chunk.dataOffset != dataStart && chunk.formType == listType);
        if (idMatches && typeMatches) {
            *found = chunk;
            return true;
        }
        pos = chunk.end;
    }
    return false;
}

uint32_t RiffWalker::ReadData(const RiffChunk& chunk, void* buffer, uint32_t n) {
    // For RIFF and LIST chunks the stored size counts the type word too.
    const uint32_t start = chunk.dataOffset;
    const uint32_t typeBytes = HasTypeWord(chunk.id, chunk.size) ? 4 : 0;
    const uint32_t available = chunk.size - typeBytes;
    const uint32_t want = std::min(n, available);
    if (want == 0 || start > fileSize_ || want > fileSize_ - start) {
        return 0;
    }
    file_.Seek(int32_t(start), kSeekBegin);
    uint32_t count = 0;
    if (!file_.Read(buffer, want, &count)) {
        return 0;
    }
    return count;
}
