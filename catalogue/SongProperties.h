// The texts of the song properties window: one read of a song through
// ReadSongInfo turned into the label and value pairs, the track rows, the
// related files, the comment and the documents the window's five pages show.
// The window itself only puts these texts into its controls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/BagBox.h"

// The value shown for fields a song does not have.
extern const char kPropertyNotFound[];  // "見つかりません"

// The five document choices, in the order of their radio buttons.
constexpr int kDocumentChoiceCount = 5;

// "1,536": n with its thousands groups separated by ','.
std::string GroupThousands(uint64_t n);
// The size field: "512 バイト", "1.5KB (1,536 バイト)", "1.25MB (1,310,720 バイト)".
std::string SizeText(uint64_t n);
// The format field of a music file kind ("標準 MIDIファイル (Format1)", ...);
// "" for kinds that are not music.
std::string FormatText(int32_t kind, int32_t format);
// A track's channel cell: "-" without channel, else the port letter ("-"
// past 'Z') and the channel from 1 with two digits ("B10").
std::string ChannelText(uint8_t port, uint8_t channel);
// The window caption for an item's display name.
std::string PropertiesCaption(const char* displayName);
// The label of the fifth document button: the extension and "(&U)", or "未定義".
std::string UserDocumentLabel(const char* userExtension);
// The extension of document choice index (0 "hed" ... 4 the user's).
std::string DocumentExtension(int index, const char* userExtension);
// The first choice whose bit is in documentFlags, -1 when none.
int FirstDocumentChoice(int32_t documentFlags);

// One row of the track page.
struct TrackRowTexts {
    std::string number;
    std::string channel;
    std::string memo;
};

// Everything the pages show. After a failed read only fileName and title
// (the bracketed failure text) are set.
struct SongPropertyTexts {
    int32_t result = 0;  // ReadSongInfo's result, after the retry
    std::string caption;
    std::string fileName;
    std::string title;
    std::string thirdLabel;  // "著作権 :" or "アーティスト :"
    std::string thirdValue;
    std::string format;
    std::string trackCount;
    std::string timeBase;
    std::string tempo;
    std::string key;
    std::string timeSignature;
    std::string module;
    std::string modified;
    std::string size;
    std::string wrdFile;
    std::vector<TrackRowTexts> tracks;
    std::vector<std::string> relatedFiles;
    std::string comment;
    int32_t documentFlags = 0;  // kDocumentHed ... kDocumentUser
};

// What filling needs besides the song.
struct SongPropertyRequest {
    std::string path;  // full path, an archive member as "archive>member"
    std::string displayName;
    bool titleSearch = true;
    std::string userTextExt;
    const BagBox* detectors = nullptr;  // null: no module detection
    // The module table, when a song whose texts name no module takes the
    // module of its reset message; null: it keeps the reserved module.
    const BagBox* resetModules = nullptr;
    uint32_t searchStrFlag = 0;
    int (*archiveKindOfName)(const char* name) = nullptr;
    // Waits before the one retry of a locked song; null does not wait.
    void (*wait)(uint32_t milliseconds) = nullptr;
};

// Reads the song and fills every text. Returns ReadSongInfo's result
// (negative when the song could not be read).
int32_t FillSongProperties(const SongPropertyRequest& request, SongPropertyTexts* texts);

// The text of document choice index of a song with CR LF line ends, at most
// maxBytes of the file and never ending in half a double-byte character; ""
// when it cannot be read.
std::string ReadDocumentText(const char* songPath, int index, const char* userExtension, uint32_t maxBytes);
