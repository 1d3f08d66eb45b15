// A place the catalogue opens or a song's path, as the program stores it (in
// the registry, list files and title caches): a folder ends in '\\', a file
// opened like a folder (a list file, an archive) is followed by '>', and a
// member of an archive follows the archive's '>' ("D:\\a\\set.lzh>dir/x.mid").
// The first '>' ends the archive part. '>' is never the trail byte of a
// double-byte character, so the mark is never mistaken inside a name.
#pragma once

#include <cstddef>
#include <string>

// True for a name of at least 5 bytes ending in ".lst" (any case).
bool IsListFileName(const char* name);

class Location {
   public:
    enum class Kind {
        kPlain,      // no '>': a folder ("C:\\", "D:\\midi\\") or a file of its own
        kListFile,   // a ".lst" file followed by its mark: "D:\\best.lst>"
        kArchive,    // any other file followed by its mark, opened as a folder: "D:\\set.lzh>"
        kInArchive,  // a folder or member inside an archive: "D:\\set.lzh>dir/", "D:\\set.lzh>x.mid"
    };

    explicit Location(std::string stored);

    Kind GetKind() const;

    // The string as stored, byte for byte.
    const std::string& Stored() const {
        return stored_;
    }

    // True when the path holds a '>': a list file, an archive or a place inside one.
    bool HasMark() const {
        return mark_ != std::string::npos;
    }

    // True when the last byte is a '>': the file before it is the place itself.
    bool EndsInMark() const;

    // The stored string less a final '>' (the list file's or archive's own path).
    std::string WithoutMark() const;

    // The part before the first '>' (the archive, or the list file); the whole
    // path when it holds none.
    std::string ArchivePath() const;

    // The part after the first '>' ("dir/x.mid"); empty when there is none.
    std::string Member() const;

    // Everything up to and including the separator before the last name: the
    // archive's '>' and the member's own folder ("set.lzh>dir/", members use
    // '/' or '\\'), or a plain path's folder (up to its last '\\').
    std::string Folder() const;

    // The last name: of the member ("x.mid" of "set.lzh>dir/x.mid"), or of a
    // plain path. Empty for a folder or an archive's own place.
    std::string FileName() const;

   private:
    // Index where the last name starts.
    size_t NameStart() const;

    std::string stored_;
    size_t mark_;  // index of the first '>', or npos
};
