#pragma once

#include <string>
#include <vector>

namespace vorn {

// The contents of a key's files, to be written as they are: texts are bytes (Windows
// text), records are padded with blanks and cut at their size.
struct KeyContents {
    std::string Name;                     // base name of every file
    std::vector<std::string> TitleLines;  // .DES, lines ending in CR LF
    std::vector<std::string> Taxa;        // .TAX records
    std::vector<std::string> States;      // .CHR records
    std::vector<std::string> Codes;       // per state: one code byte per taxon
    bool LongTaxonNames = false;          // 80-byte taxon records and the "$" trailer
    std::string Index;                    // .IND text; not written when empty
    // .CHL: the whole text of each state, one line per state in state order, ending in
    // CR LF; not written when empty. Written as given, so a test can give it as many
    // lines as it likes.
    std::vector<std::string> WholeStates;
    std::string Extensions[6] = {".DES", ".TAX", ".CHR", ".DAT", ".IND", ".CHL"};
};

// Writes the key's files into `directory` (which must exist) in the layout that opening
// a key reads. Returns the .DES file's path. Throws IoError naming the file that could
// not be written.
std::string WriteKeyFiles(const std::string& directory, const KeyContents& key);

// Writes a whole file, replacing it. Throws IoError.
void WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace vorn
