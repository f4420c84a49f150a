#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/key/KeyWriter.h"
#include "importers/common/ImportRun.h"
#include "importers/delta/DeltaReader.h"

namespace vorn::delta {

struct ConvertOptions {
    std::string Name;         // the key's name
    std::string Title;        // UTF-8; empty: the *SHOW of specs, unless it names nothing
                              // ("Dataset", "Test data set - specs"), else the dataset folder's
                              // name with a capital first letter, else Name
    std::string Credit;       // UTF-8; a line of the title page when not empty
    std::string DatasetName;  // the dataset folder's name, for the title page
    // Characters left out of the key, states and notes alike (--skip-character).
    std::vector<int> SkipCharacters;
};

using import::PictureFile;

// The converter keeps a table of items x characters; a dataset whose table would pass
// this is refused rather than exhaust the memory.
constexpr uint64_t MaxCells = uint64_t{32} << 20;

struct Conversion {
    KeyContents Key;
    std::vector<std::pair<std::string, std::string>> Notes;  // file name, bytes
    int ItemCount = 0;
    int CharacterCount = 0;
    int CharactersWithStates = 0;
    int StateCount = 0;                   // the states the characters give
    int Unwritable = 0;                   // characters written as "?" in Windows-1252
    std::vector<std::string> LeftOut;     // "character 1 (including): why"
    std::vector<std::string> Skipped;     // "character 2 (data set authors)"
    std::vector<int> UnknownSkipped;      // SkipCharacters that the dataset does not have
    std::vector<std::string> Unreadable;  // "character 4, item 2 (name): "9": why"
    std::vector<std::string> SameTexts;   // states that read alike as the dataset's do
    bool TooManyItems = false;            // more than MaxKeyItems
    bool TooManyStates = false;           // more than MaxKeyItems
    bool TooLarge = false;                // more items x characters than MaxCells
    bool NoStates = false;
};

// An item's name as the key shows it (UTF-8): comments and marks removed, "/", "|" and
// ">" replaced by "-", no leading "$", "Item N" when nothing is left (N from 1). Texts
// of a conversion are UTF-8 until they are written into the key.
std::string TaxonName(const Item& item, int number);

// The pictures of `timages` for each item (in item order), found by `find` (which
// returns the path of a dataset file, or empty with why there is none): the first JPEG
// as I0001.JPG, the GIFs as I000101.GIF, ...; an item with GIFs only also gets
// I0001.JPG, converted from its first GIF. Pictures not found or refused are noted in
// `missing`, and so are names of other files that `find` refuses as leading out.
std::vector<std::vector<PictureFile>> PlanPictures(
    const Dataset& dataset,
    const std::function<std::string(const std::string&, std::string*)>& find,
    std::vector<std::string>& missing);

// The title that *SHOW gives (UTF-8): without "~" and a final "specifications" (also
// without its last "s") or "specs" phrase; empty when nothing is left or when it names nothing
// ("Dataset", "Data set", "Test data set", "Character list", in any case).
std::string TitleFromShow(const std::string& show);

// The key of a dataset. `hasImage` tells, per item, whether its pictures were written
// (the record then names the image I0001...). Never throws on bad data.
Conversion Convert(const Dataset& dataset, const ConvertOptions& options,
                   const std::vector<bool>& hasImage);

}  // namespace vorn::delta
