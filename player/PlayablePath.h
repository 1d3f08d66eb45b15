// The file a player is given for a song. Players open plain files only, so a
// song inside an archive is extracted first, and with it every file of its
// related set (its WRD script and the pictures and fonts the script loads,
// its documents), so that a player showing the script finds them beside it.
#pragma once

#include <cstdint>
#include <string>

// Empties the working folder of files left by an earlier hand-over. A plain
// path is returned as it is. For a member path ("set.lzh>dir/song.mid") the
// member and its related members are extracted together into the working
// folder and the extracted song's path is returned; when the song itself
// cannot be extracted (a damaged archive, a name that may not be written)
// the result is empty: no player could open the member path itself.
// fileType is the song's music file type.
std::string PrepareSongForPlayer(const std::string& path, int32_t fileType, void* ownerWindow);

// What the user is told when a member could not be extracted for a player:
// the member's name and the archive's path.
std::string ExtractionFailureMessage(const std::string& memberPath);

// The last name element of a member path: "a.lzh>dir/x.mid" gives "x.mid".
std::string MemberFileName(const std::string& path);
