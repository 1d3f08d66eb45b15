// What the browsing actions read from the song list: per row the five column
// texts as shown, the object's path and full path, its WRD companion flags
// and the text of its related files. The song list window answers from its
// display store; CatalogueRows answers from the catalogue alone (title cache
// or the song itself), for the command-line tool and the tests.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/FolderScan.h"

// The song list's columns.
constexpr int32_t kColumnName = 0;
constexpr int32_t kColumnTitle = 1;
constexpr int32_t kColumnComment = 2;
constexpr int32_t kColumnModule = 3;
constexpr int32_t kColumnDate = 4;
constexpr int32_t kSongColumns = 5;

// Related files searched after the columns: the WRD script, then the
// documents in this order.
constexpr int32_t kRelatedWrdText = 0;
constexpr int32_t kRelatedHed = 1;
constexpr int32_t kRelatedTxt = 2;
constexpr int32_t kRelatedDoc = 3;
constexpr int32_t kRelatedLog = 4;
constexpr int32_t kRelatedUserText = 5;
constexpr int32_t kRelatedTexts = 6;

class SongRows {
   public:
    virtual ~SongRows() = default;
    virtual int32_t RowCount() = 0;
    // The text a column shows for a row.
    virtual std::string ColumnText(int32_t row, int32_t column) = 0;
    // The object's `path` (relative to the location unless it holds ':').
    virtual std::string ObjectPath(int32_t row) = 0;
    // The object's full path; an archive member's keeps its "archive>member" form.
    virtual std::string FullPath(int32_t row) = 0;
    // kRelatedWrd | kRelatedSry | kRelatedNbf as the title cache has them.
    virtual int32_t CompanionFlags(int32_t row) = 0;
    // The whole bytes of a related file (kRelatedWrdText ...). False when the
    // file is not marked present or cannot be opened.
    virtual bool ReadRelatedFile(int32_t row, int32_t which, std::string* bytes) = 0;
};

// The rows of a catalogue's ObjectList.
class CatalogueRows : public SongRows {
   public:
    // userTextExtension: the "UserTextExt" setting, may be empty.
    CatalogueRows(CatalogueState& state, SongAnalyzer& analyzer, bool cutTitleSpace, const char* userTextExtension);

    int32_t RowCount() override;
    std::string ColumnText(int32_t row, int32_t column) override;
    std::string ObjectPath(int32_t row) override;
    std::string FullPath(int32_t row) override;
    int32_t CompanionFlags(int32_t row) override;
    bool ReadRelatedFile(int32_t row, int32_t which, std::string* bytes) override;

   private:
    CatalogueState& state_;
    SongAnalyzer& analyzer_;
    bool cutTitleSpace_;
    std::string userTextExtension_;
};

// The whole bytes of a song or related file (plain or archive member) through
// the song file reader. False when it cannot be opened or read.
bool ReadWholeSongFile(const char* path, std::string* bytes);
