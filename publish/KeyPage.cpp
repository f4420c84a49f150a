#include "publish/KeyPage.h"

#include <algorithm>
#include <map>

#include "core/key/IndexFile.h"
#include "core/key/KeyFiles.h"
#include "core/key/NotesText.h"
#include "core/key/PictureNames.h"
#include "core/key/TitlePage.h"
#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"
#include "core/platform/Text.h"
#include "core/session/Session.h"

namespace vorn::publish {
namespace {

constexpr const char* kKeyFolder = "the key's folder";
// A taxon's numbered GIFs run to the first missing number; a key has no more than this.
constexpr int kMaxGifs = 999;

// Finds the files a key names and gives each one published name, once however many
// records name it.
class Files {
public:
    explicit Files(KeyPage& page) : page_(page) {}

    // The picture `file` (a name built from the key), or kMissing / kRefused when it is
    // not there or its name leads out of the key's folder: a missing picture is listed
    // when `reportMissing`, a refused name always.
    static constexpr int kMissing = -1;
    static constexpr int kRefused = -2;
    int Picture(const std::string& file, const std::string& owner, bool reportMissing,
                const char* extension) {
        std::string why;
        std::string found = FileInFolder(".", file, kKeyFolder, &why);
        if (found.empty()) {
            Note(why, owner, "picture", file, reportMissing);
            return why == "not found" ? kMissing : kRefused;
        }
        auto [at, added] = pictures_.try_emplace(found, static_cast<int>(page_.Pictures.size()));
        if (added) {
            page_.Pictures.push_back({"key/pictures/" + std::to_string(at->second + 1) + extension,
                                      found, KeyTextToUtf8(file)});
        }
        return at->second;
    }

    int Notes(const std::string& name, const std::string& owner) {
        std::string why;
        std::string found = FileInFolder(".", name, kKeyFolder, &why);
        if (found.empty()) {
            Note(why, owner, "notes", name, true);
            return -1;
        }
        auto [at, added] = notes_.try_emplace(found, static_cast<int>(page_.Notes.size()));
        if (added) {
            NotesText notes = ReadNotesText(found);
            if (notes.Cut) {
                page_.Notices.push_back(
                    "the notes file " + KeyTextToUtf8(name) +
                    " is too long to publish whole: its beginning is published");
            }
            page_.Notes.push_back(
                {"key/notes/" + std::to_string(at->second + 1) + ".txt", std::move(notes.Text)});
        }
        return at->second;
    }

private:
    void Note(const std::string& why, const std::string& owner, const char* kind,
              const std::string& file, bool reportMissing) {
        std::string line = owner + ": " + kind + " " + KeyTextToUtf8(file);
        if (why == "not found" || why == "no file name") {
            if (reportMissing) page_.Missing.push_back(line);
        } else {
            page_.Refused.push_back(line + ": " + why);
        }
    }

    KeyPage& page_;
    std::map<std::string, int> pictures_;
    std::map<std::string, int> notes_;
};

void Member(std::string& json, const char* name, const std::string& utf8) {
    json += '"';
    json += name;
    json += "\": ";
    AppendJsonString(json, utf8);
}

}  // namespace

KeyPage ReadKeyPage(Session& session, const std::string& title) {
    KeyRecord& key = session.Key;
    KeyPage page;
    Files files(page);
    page.Taxa = key.TaxonCount;
    page.States = key.StateCount;
    page.Name = FileNameToUtf8(key.KeyName);

    for (const std::string& line : ReadTitlePage(key.DesFileName))
        page.TitlePage.push_back(KeyTextToUtf8(line));
    page.Title = FileNameToUtf8(title);
    if (page.Title.empty()) {
        auto first = std::find_if(page.TitlePage.begin(), page.TitlePage.end(),
                                  [](const std::string& line) { return !line.empty(); });
        page.Title = first != page.TitlePage.end() ? *first : page.Name;
    }

    for (int32_t t = 0; t < key.TaxonCount; ++t) {
        TaxonRecordFields fields = SplitTaxonRecord(key.ReadTaxonName(t));
        KeyPage::Taxon taxon;
        taxon.Name = KeyTextToUtf8(fields.Text);
        taxon.HasCommon = fields.CommonName.has_value();
        taxon.Common = KeyTextToUtf8(fields.CommonName.value_or(""));
        std::string owner = "taxon " + std::to_string(t + 1) + " (" + taxon.Name + ")";
        if (fields.ImageName && !fields.ImageName->empty()) {
            int jpeg = files.Picture(JpegFileName(*fields.ImageName), owner, true, ".jpg");
            taxon.Picture = std::max(jpeg, -1);
            // A name refused once is not tried again for the numbered GIFs; a JPEG that is
            // missing does not keep them from being published.
            for (int n = 1; jpeg != Files::kRefused && n <= kMaxGifs; ++n) {
                int gif = files.Picture(GifFileName(*fields.ImageName, n), owner, false, ".gif");
                if (gif < 0) break;
                taxon.Gifs.push_back(gif);
            }
        }
        if (fields.NotesName) taxon.Notes = files.Notes(*fields.NotesName, owner);
        page.TaxonList.push_back(std::move(taxon));
    }
    for (int32_t s = 0; s < key.StateCount; ++s)
        page.StateTexts.push_back(KeyTextToUtf8(key.ReadStateText(s)));

    if (!key.IndFileName.empty()) {
        IndexTableType table;
        IndexLayout layout = ReadIndexFile(key.IndFileName, table);
        page.HasIndex = true;
        if (!layout.Notice.empty())
            page.Notices.push_back("the index: " + KeyTextToUtf8(layout.Notice));
        if (layout.Error) {
            try {
                std::rethrow_exception(layout.Error);
            } catch (const IoError& error) {
                page.Notices.push_back(std::string("the index was read only in part: ") +
                                       error.what());
            }
        }
        for (const IndexEntry& entry : table) {
            KeyPage::Entry out;
            out.Heading = KeyTextToUtf8(entry.Heading ? *entry.Heading : std::string());
            out.Text = KeyTextToUtf8(entry.Text);
            if (entry.ImageName) {
                out.Picture =
                    std::max(-1, files.Picture(JpegFileName(*entry.ImageName),
                                               "index entry " + std::to_string(entry.Number + 1) +
                                                   " (" + out.Text + ")",
                                               true, ".jpg"));
            }
            if (!entry.ListsNoStates()) {
                // Only the key's own states, as the Subset window lists them.
                for (const EntryRange& range : entry.Ranges) {
                    int32_t first = std::max(range.First, 0);
                    int32_t last = std::min(range.Last, key.StateCount - 1);
                    if (first <= last) out.Ranges.emplace_back(first, last);
                }
            }
            page.Index.push_back(std::move(out));
        }
    }
    return page;
}

std::string KeyPage::KeyJson(const std::set<std::string>& written) const {
    auto picture = [&](int at) -> std::string {
        if (at < 0) return {};
        const std::string& path = Pictures[static_cast<size_t>(at)].Path;
        return written.count(path) ? path : std::string();
    };
    // Appended piece by piece: a key of 10,000 taxa and states makes 2 MB of it.
    std::string json = "{\n";
    json += "\"format\": 1,\n";
    Member(json, "name", Name);
    json += ",\n";
    Member(json, "title", Title);
    json += ",\n\"titlePage\": [";
    for (size_t i = 0; i < TitlePage.size(); ++i) {
        if (i) json += ", ";
        AppendJsonString(json, TitlePage[i]);
    }
    json += "],\n\"codes\": ";
    AppendJsonString(json, CodesPath);
    json += ",\n\"taxonCount\": " + std::to_string(Taxa) + ",\n";
    json += "\"stateCount\": " + std::to_string(States) + ",\n";
    json += "\"taxa\": [\n";
    for (size_t t = 0; t < TaxonList.size(); ++t) {
        const Taxon& taxon = TaxonList[t];
        json += '{';
        Member(json, "name", taxon.Name);
        if (taxon.HasCommon) {
            json += ", ";
            Member(json, "common", taxon.Common);
        }
        if (std::string path = picture(taxon.Picture); !path.empty()) {
            json += ", ";
            Member(json, "picture", path);
        }
        bool firstGif = true;
        for (int gif : taxon.Gifs) {
            std::string path = picture(gif);
            if (path.empty()) continue;
            json += firstGif ? ", \"gifs\": [" : ", ";
            AppendJsonString(json, path);
            firstGif = false;
        }
        if (!firstGif) json += ']';
        if (taxon.Notes >= 0) {
            json += ", ";
            Member(json, "notes", Notes[static_cast<size_t>(taxon.Notes)].Path);
        }
        json += t + 1 < TaxonList.size() ? "},\n" : "}\n";
    }
    json += "],\n\"states\": [\n";
    for (size_t s = 0; s < StateTexts.size(); ++s) {
        AppendJsonString(json, StateTexts[s]);
        json += s + 1 < StateTexts.size() ? ",\n" : "\n";
    }
    json += ']';
    if (HasIndex) {
        json += ",\n\"index\": [\n";
        for (size_t e = 0; e < Index.size(); ++e) {
            const Entry& entry = Index[e];
            json += '{';
            Member(json, "heading", entry.Heading);
            json += ", ";
            Member(json, "text", entry.Text);
            if (std::string path = picture(entry.Picture); !path.empty()) {
                json += ", ";
                Member(json, "picture", path);
            }
            json += ", \"states\": [";
            for (size_t r = 0; r < entry.Ranges.size(); ++r) {
                json += r ? ", [" : "[";
                json += std::to_string(entry.Ranges[r].first);
                json += ", ";
                json += std::to_string(entry.Ranges[r].second);
                json += ']';
            }
            json += e + 1 < Index.size() ? "]},\n" : "]}\n";
        }
        json += ']';
    }
    json += "\n}\n";
    return json;
}

}  // namespace vorn::publish
