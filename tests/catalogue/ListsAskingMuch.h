// List files that ask for much, shared by the list tests and the journeys: a
// list that includes itself many times, and a list naming one song many times.
#pragma once

#include <string>

#include "catalogue/ListFile.h"

// The lines of text, times over, each ended by CR LF.
inline std::string RepeatedLines(const std::string& line, int times) {
    std::string lines;
    for (int i = 0; i < times; i++) {
        lines += line + "\r\n";
    }
    return lines;
}

// A list file (header and body) of the given body lines.
inline std::string ListFileBytes(const std::string& body) {
    return std::string(kListFileHeader) + "\r\n" + body;
}

// The list listName that names song, then includes itself times times.
inline std::string SelfIncludingList(const std::string& listName, const std::string& song, int times) {
    return ListFileBytes(song + "\r\n" + RepeatedLines("|include " + listName, times));
}

// A list naming song times times.
inline std::string RepeatedEntryList(const std::string& song, int times) {
    return ListFileBytes(RepeatedLines(song, times));
}
