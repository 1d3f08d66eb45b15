// The line-end forms a list file may come with, for the tests of its readers:
// as the program writes it, as other systems' editors leave it, and mixed by
// hand edits.
#pragma once

#include <string>
#include <vector>

struct ListLineEndForm {
    const char* name;
    std::vector<std::string> ends;  // used in turn, line by line
};

inline const std::vector<ListLineEndForm>& ListLineEndForms() {
    static const std::vector<ListLineEndForm> forms = {
        {"CR LF", {"\r\n"}},
        {"LF", {"\n"}},
        {"CR", {"\r"}},
        {"mixed", {"\n", "\r\n", "\r", "\r\n"}},
    };
    return forms;
}

// The lines joined with the form's line ends; the last line gets one only
// when finalEnd is set.
inline std::string JoinLines(const std::vector<std::string>& lines, const ListLineEndForm& form, bool finalEnd) {
    std::string text;
    for (size_t i = 0; i < lines.size(); i++) {
        text += lines[i];
        if (i + 1 < lines.size() || finalEnd) {
            text += form.ends[i % form.ends.size()];
        }
    }
    return text;
}
