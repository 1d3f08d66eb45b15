// Whole-file writes that never leave a half-written file behind: the bytes go
// to a temporary file in the target's folder, are flushed to the disk, and
// only then replace the target in one step.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes handed to the system in one write.
constexpr uint32_t kAtomicWriteChunk = 65536;

// Writes size bytes to path, creating or replacing it. Returns 0, or the
// error number with the old file (if any) untouched and no temporary left.
uint32_t WriteFileAtomically(const char* path, const void* bytes, size_t size);

// Test hook: asked before each write of at most kAtomicWriteChunk bytes (the
// first is write 0); a non-zero answer makes that write fail with that error
// number. Null removes the hook.
using AtomicWriteFault = uint32_t (*)(uint32_t writeIndex);
void SetAtomicWriteFault(AtomicWriteFault fault);
