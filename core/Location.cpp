// Parsing a stored location once: where its first '>' is, and what lies on
// either side of it.
#include "core/Location.h"

#include <cstring>
#include <utility>

#include "core/Text.h"

bool IsListFileName(const char* name) {
    // '.' is never a trail byte, so the last four bytes can be compared as they are.
    const size_t length = std::strlen(name);
    return length >= 5 && CompareNoCase(name + length - 4, ".lst") == 0;
}

Location::Location(std::string stored) : stored_(std::move(stored)) {
    const int mark = FindEitherChar(stored_.c_str(), '>', '\0');
    mark_ = mark < 0 ? std::string::npos : size_t(mark);
}

Location::Kind Location::GetKind() const {
    if (!HasMark()) {
        return Kind::kPlain;
    }
    if (EndsInMark() && IsListFileName(WithoutMark().c_str())) {
        return Kind::kListFile;
    }
    return mark_ + 1 == stored_.size() ? Kind::kArchive : Kind::kInArchive;
}

bool Location::EndsInMark() const {
    return !stored_.empty() && stored_.back() == '>';
}

std::string Location::WithoutMark() const {
    return EndsInMark() ? stored_.substr(0, stored_.size() - 1) : stored_;
}

std::string Location::ArchivePath() const {
    return stored_.substr(0, mark_);
}

std::string Location::Member() const {
    return HasMark() ? stored_.substr(mark_ + 1) : std::string();
}

size_t Location::NameStart() const {
    // A member's folders may be separated by '/' (ZIP) or '\\' (LZH).
    const bool inArchive = HasMark();
    size_t start = inArchive ? mark_ + 1 : 0;
    const char* text = stored_.c_str();
    for (size_t i = start; i < stored_.size(); i += CharBytes(text + i)) {
        if (text[i] == '\\' || (inArchive && text[i] == '/')) {
            start = i + 1;
        }
    }
    return start;
}

std::string Location::Folder() const {
    return stored_.substr(0, NameStart());
}

std::string Location::FileName() const {
    return stored_.substr(NameStart());
}
