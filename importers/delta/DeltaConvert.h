#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/key/KeyWriter.h"
#include "importers/delta/DeltaReader.h"

namespace vorn::delta {

struct ConvertOptions {
    std::string Name;         // the key's name
    std::string Title;        // Latin-1; empty: the *SHOW of specs, else Name
    std::string Credit;       // Latin-1; a line of the title page when not empty
    std::string DatasetName;  // the dataset folder's name, for the title page
};

// A taxon's picture files as the key names them, and where they come from.
struct PictureFile {
    std::string Source;  // a file of the dataset
    std::string Target;  // a file name in the key's folder ("I0001.JPG", "I000101.GIF")
    bool ConvertToJpeg = false;
};

struct Conversion {
    KeyContents Key;
    std::vector<std::pair<std::string, std::string>> Notes;  // file name, bytes
    int ItemCount = 0;
    int CharacterCount = 0;
    int CharactersWithStates = 0;
    int CapacityLeftOut = 0;              // characters left out at the capacity of states
    std::vector<std::string> LeftOut;     // "character 1 (including): why"
    std::vector<std::string> Unreadable;  // "character 4, item 2 (name): "9": why"
    bool TooManyItems = false;
    bool NoStates = false;
};

// An item's name as the key shows it: comments and marks removed, "/", "|" and ">"
// replaced by "-", no leading "$", "Item N" when nothing is left (N from 1).
std::string TaxonName(const Item& item, int number);

// The pictures of `timages` for each item (in item order), found by `find` (which
// returns the path of a dataset file, or empty when there is none): the first JPEG as
// I0001.JPG, the GIFs as I000101.GIF, ...; an item with GIFs only also gets I0001.JPG,
// converted from its first GIF. Files that cannot be found are noted in `missing`.
std::vector<std::vector<PictureFile>> PlanPictures(
    const Dataset& dataset, const std::function<std::string(const std::string&)>& find,
    std::vector<std::string>& missing);

// The key of a dataset. `hasImage` tells, per item, whether its pictures were written
// (the record then names the image I0001...). Never throws on bad data.
Conversion Convert(const Dataset& dataset, const ConvertOptions& options,
                   const std::vector<bool>& hasImage);

// A number rounded to two significant digits, written without trailing zeros.
std::string TwoDigits(double value);

// The inclusive quantile of sorted `numbers` at `p` (linear between closest ranks).
double Quantile(const std::vector<double>& sorted, double p);

}  // namespace vorn::delta
