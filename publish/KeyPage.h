#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace vorn {
class Session;
}

namespace vorn::publish {

// A file of the published key, written as it is given.
struct PageFile {
    std::string Path;  // relative to the published folder
    std::string Bytes;
};

// A picture of the key, copied as it is from the key's folder.
struct PagePicture {
    std::string Path;    // relative to the published folder: "key/pictures/N.jpg" or ".gif"
    std::string Source;  // the file in the key's folder
    std::string Name;    // the name the key gives it, for the report
};

// What a key gives its page: its texts in UTF-8 (key/key.json), its notes as text
// (key/notes/N.txt) and the pictures to copy; and what the report tells about them. Its
// codes, packed as the engine holds them, are written straight from the open key to
// CodesPath.
struct KeyPage {
    std::string CodesPath = "key/codes.bin";
    std::vector<PageFile> Notes;
    std::vector<PagePicture> Pictures;
    int32_t Taxa = 0;
    int32_t States = 0;
    // Report lines: pictures and notes the key names that are not in its folder, names
    // refused because they would lead out of it, and what else was noticed (a long notes
    // file, the index's limits).
    std::vector<std::string> Missing;
    std::vector<std::string> Refused;
    std::vector<std::string> Notices;

    // The texts of the key as the page reads them (key/key.json), naming only the
    // pictures in `written` (paths of Pictures that were copied).
    std::string KeyJson(const std::set<std::string>& written) const;

    // What KeyJson needs, read from the key: UTF-8 texts.
    struct Taxon {
        std::string Name;
        std::string Common;  // empty when the record has none
        bool HasCommon = false;
        int Picture = -1;       // in Pictures; -1 for none
        std::vector<int> Gifs;  // in Pictures
        int Notes = -1;         // in Notes
    };
    struct Entry {
        std::string Heading, Text;
        int Picture = -1;
        std::vector<std::pair<int32_t, int32_t>> Ranges;  // states, first to last, from 0
    };
    std::string Name, Title;
    std::vector<std::string> TitlePage;
    std::vector<Taxon> TaxonList;
    std::vector<std::string> StateTexts;
    bool HasIndex = false;
    std::vector<Entry> Index;
};

// Reads the key open in `session` (its files in the current directory, as OpenKey leaves
// them) into a KeyPage. `title` is the page's title; empty for the title page's first
// line, or the key's name when it has none. Throws IoError when a file of the key cannot
// be read; a picture or notes file missing or refused is only reported.
KeyPage ReadKeyPage(Session& session, const std::string& title);

}  // namespace vorn::publish
