#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorn::publish {

// What a published page keeps on the device for use without a network: the files the
// page needs to identify (kept at the first visit) and those fetched only when seen
// (pictures and notes, with their sizes, kept as they are viewed or all at once).
struct OfflinePlan {
    std::string Version;                                  // changes with any file published
    std::vector<std::string> Shell;                       // paths in the published folder
    std::vector<std::pair<std::string, uint64_t>> Later;  // paths and sizes in bytes
};

// The publication's version: a digest of every file's path and bytes, in the order
// given, so a key published again with any change gets a new one and an unchanged key
// keeps its own.
class PublicationDigest {
public:
    void Add(std::string_view path, std::initializer_list<std::string_view> parts);
    void Add(std::string_view path, std::string_view bytes) { Add(path, {bytes}); }
    std::string Hex() const;  // 16 hexadecimal digits

private:
    uint64_t hash_ = 14695981039346656037ull;
    void Mix(std::string_view bytes);
};

// The script the page's service worker imports (offline.js): the plan as one JSON value
// assigned to self.vornPublication. Paths are the publisher's own; they are written as
// JSON strings all the same.
std::string OfflineScript(const OfflinePlan& plan);

// The web app manifest (manifest.webmanifest): the page's title as the name of the app a
// phone puts on its home screen, opened full screen, with the page's icons.
std::string WebManifest(const std::string& title, const std::string& shortName);

}  // namespace vorn::publish
