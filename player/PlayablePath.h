// The file a player is given for a song. Players open plain files only, so a
// song inside an archive is extracted first, and with it every file of its
// related set (its WRD script and the pictures and fonts the script loads,
// its documents), so that a player showing the script finds them beside it.
#pragma once

#include <cstdint>
#include <string>

#include "core/Location.h"

// What a player is handed for a song, or why there is nothing to hand it.
struct PlayableSong {
    std::string path;     // the file the player opens; empty when the song could not be prepared
    std::string failure;  // with an empty path, what the user is told
};

// Empties the working folder of files left by an earlier hand-over. A plain
// path is handed over as it is. For a member ("set.lzh>dir/song.mid") the
// member and its related members are extracted together into the working
// folder and the extracted song is handed over; when the song itself cannot
// be extracted (a damaged archive, a name that may not be written) there is
// no path, since no player could open the member path itself, and the
// failure names the member and the archive. fileType is the song's music
// file type; ownerWindow owns what an archiver library shows.
PlayableSong PrepareSongForPlayer(const Location& song, int32_t fileType, void* ownerWindow);
