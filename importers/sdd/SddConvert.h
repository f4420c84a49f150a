#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/key/KeyWriter.h"
#include "importers/sdd/SddDocument.h"

namespace vorn::sdd {

struct ConvertOptions {
    std::string Name;          // the key's name
    std::string Title;         // UTF-8; empty: the dataset's label, else Name
    std::string Credit;        // UTF-8; a line of the title page under the rights
    std::string DocumentName;  // the document's file name, for the title page
    // Ids of characters left out of the key, states and notes alike (--skip-character).
    std::vector<std::string> SkipCharacters;
};

struct Conversion {
    KeyContents Key;
    std::vector<std::pair<std::string, std::string>> Notes;  // file name, bytes
    int CharactersWithStates = 0;
    int StateCount = 0;
    int Unwritable = 0;                       // characters written as "?" in Windows-1252
    std::vector<std::string> LeftOut;         // "character 3 (name): why"
    std::vector<std::string> Skipped;         // "character 3 (name), id c3"
    std::vector<std::string> UnknownSkipped;  // SkipCharacters that name no character
    std::vector<std::string> Problems;        // entries that could not be used
    std::vector<std::string> SameTexts;       // states that read alike as the document's do
    std::string Refusal;  // why the document cannot become a key; empty if it can
};

// The key of a document: one taxon per coded description, in order; one state per state
// of a categorical character, "<character>: <state>"; three tertile states per
// quantitative character; text characters and measures in the notes; an index entry per
// character that gives states. `taxonHasImage` tells, per description, whether its
// pictures were written (its record then names I0001...); `characterImages` gives the
// picture name of a character's index entry by character id. Never throws.
Conversion Convert(const Document& document, const ConvertOptions& options,
                   const std::vector<bool>& taxonHasImage,
                   const std::map<std::string, std::string>& characterImages);

}  // namespace vorn::sdd
