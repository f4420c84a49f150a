#include "core/session/Journal.h"

#include <cinttypes>
#include <cstdio>
#include <sstream>

#include "core/platform/IoError.h"
#include "core/platform/WholeFile.h"
#include "core/session/HistoryList.h"
#include "core/session/Session.h"

namespace vorn {
namespace {

constexpr char kFirstLine[] = "#VORN journal";
// A journal is a few bytes per state scored; anything far larger is no journal of ours.
constexpr size_t kMostJournalBytes = size_t{64} << 20;

uint64_t Checksum(std::string_view bytes) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string Hex(uint64_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%016" PRIx64, value);
    return buffer;
}

// The key's four files, by their paths in the key's folder.
std::vector<std::string> KeyFilePaths(const Session& session) {
    const KeyRecord& key = session.Key;
    std::vector<std::string> paths;
    for (const std::string* name :
         {&key.DesFileName, &key.TaxFileName, &key.ChrFileName, &key.DatFileName})
        paths.push_back(session.WorkDir + *name);
    return paths;
}

}  // namespace

std::string JournalText(Session& session, const std::string& date) {
    std::string text = std::string(kFirstLine) + "\r\n";
    text += "#key " + session.OpenKeyPath + "\r\n";
    for (const std::string& path : KeyFilePaths(session)) {
        FileIdentity identity = IdentityOf(path).value_or(FileIdentity{-1, -1});
        text += "#file " + std::to_string(identity.Size) + " " +
                std::to_string(identity.ChangedNs) + " " + path + "\r\n";
    }
    int32_t scored = 0;
    for (int32_t s = 0; s < session.Key.StateCount; ++s)
        scored += session.StateScore(s) != ScoreNone;
    text += "#tolerance " + std::to_string(session.Tolerance()) + "\r\n";
    text += "#date " + date + "\r\n";
    text += "#scored " + std::to_string(scored) + "\r\n";
    text += ScoresListText(session);
    return text + "#end " + Hex(Checksum(text)) + "\r\n";
}

JournalInfo ReadJournal(const std::string& path) {
    JournalInfo info;
    FileBytes file;
    try {
        file = ReadWholeFile(path, kMostJournalBytes);
    } catch (const IoError& error) {
        info.Problem = std::string("it cannot be read (") + error.what() + ")";
        return info;
    }
    const std::string& bytes = file.Bytes;
    if (bytes.empty()) {
        info.Problem = "it is empty";
        return info;
    }
    if (file.More || bytes.rfind(std::string(kFirstLine) + "\r\n", 0) != 0) {
        info.Problem = "it is not a journal of VORN";
        return info;
    }
    // The last line holds the checksum of everything before it: a journal cut short or
    // changed on the way fails it.
    size_t end = bytes.rfind("#end ");
    bool whole = end != std::string::npos && bytes.size() == end + 23 &&
                 bytes.compare(end + 21, 2, "\r\n") == 0 &&
                 bytes.substr(end + 5, 16) == Hex(Checksum(std::string_view(bytes).substr(0, end)));
    if (!whole) {
        info.Problem = "it is cut short or damaged";
        return info;
    }
    std::istringstream lines(bytes.substr(0, end));
    std::string line;
    bool key = false, tolerance = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto value = [&line](const char* field) -> std::optional<std::string> {
            std::string start = std::string("#") + field + " ";
            if (line.rfind(start, 0) != 0) return std::nullopt;
            return line.substr(start.size());
        };
        if (auto path = value("key")) {
            info.KeyPath = *path;
            key = !path->empty();
        } else if (auto file = value("file")) {
            JournalInfo::KeyFile entry;
            long long size = 0, changed = 0;
            int used = 0;
            if (std::sscanf(file->c_str(), "%lld %lld %n", &size, &changed, &used) == 2) {
                entry.Identity = {size, changed};
                entry.Name = file->substr(static_cast<size_t>(used));
                info.Files.push_back(entry);
            }
        } else if (auto k = value("tolerance")) {
            info.Tolerance = std::atoi(k->c_str());
            tolerance = info.Tolerance >= 0 && info.Tolerance <= kMenuTolerance;
        } else if (auto date = value("date")) {
            info.Date = *date;
        } else if (auto scored = value("scored")) {
            info.Scored = std::atoi(scored->c_str());
        }
    }
    if (!key || !tolerance || info.Files.size() != 4) info.Problem = "it is damaged";
    return info;
}

std::string WhyJournalKeyChanged(const JournalInfo& info) {
    for (const JournalInfo::KeyFile& file : info.Files) {
        std::optional<FileIdentity> now = IdentityOf(file.Name);
        if (!now) return "the key's file " + file.Name + " is gone";
        if (*now != file.Identity) return "the key's file " + file.Name + " has changed since";
    }
    return {};
}

void RestoreJournal(Session& session, const std::string& path, const JournalInfo& info) {
    session.ChangeTolerance(info.Tolerance);
    LoadHistoryList(session, path, nullptr);
}

}  // namespace vorn
