#include "publish/Offline.h"

#include <cstdio>
#include <cstring>

#include "core/platform/Text.h"

namespace vorn::publish {

void PublicationDigest::Mix(std::string_view bytes) {
    // Four lanes of eight bytes at a time, so that the 25 MB of a large key's codes take
    // a few milliseconds. Each step is a bijection of its lane, and so is folding a lane
    // into the digest: a change of any one byte reaches the digest. No secret is guarded
    // by it.
    constexpr uint64_t kPrime = 0x9e3779b97f4a7c15ull;
    uint64_t lanes[4] = {1, 2, 3, 4};
    size_t at = 0;
    for (; at + 32 <= bytes.size(); at += 32) {
        for (int i = 0; i < 4; ++i) {
            uint64_t word;
            std::memcpy(&word, bytes.data() + at + 8 * i, 8);
            lanes[i] = (lanes[i] ^ word) * kPrime;
            lanes[i] ^= lanes[i] >> 29;
        }
    }
    for (; at < bytes.size(); ++at) {
        lanes[0] = (lanes[0] ^ static_cast<unsigned char>(bytes[at])) * kPrime;
        lanes[0] ^= lanes[0] >> 29;
    }
    for (uint64_t lane : lanes) {
        hash_ = (hash_ ^ lane) * 1099511628211ull;
        hash_ ^= hash_ >> 32;
    }
}

void PublicationDigest::Add(std::string_view path, std::initializer_list<std::string_view> parts) {
    // The lengths go in first, so that no two lists of files mix to the same bytes.
    size_t size = 0;
    for (std::string_view part : parts)
        size += part.size();
    std::string lengths = std::to_string(path.size()) + ":" + std::to_string(size) + ":";
    Mix(lengths);
    Mix(path);
    for (std::string_view part : parts)
        Mix(part);
}

std::string PublicationDigest::Hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
    return text;
}

std::string OfflineScript(const OfflinePlan& plan) {
    std::string out =
        "// Written by vorn-publish: what the page's service worker keeps on the device.\n"
        "self.vornPublication = {\"version\": " +
        JsonString(plan.Version) + ",\n  \"shell\": [";
    for (size_t i = 0; i < plan.Shell.size(); ++i)
        out += (i ? ",\n    " : "\n    ") + JsonString(plan.Shell[i]);
    out += "],\n  \"later\": [";
    for (size_t i = 0; i < plan.Later.size(); ++i) {
        out += (i ? ",\n    [" : "\n    [") + JsonString(plan.Later[i].first) + ", " +
               std::to_string(plan.Later[i].second) + "]";
    }
    out += "]};\n";
    return out;
}

std::string WebManifest(const std::string& title, const std::string& shortName) {
    return "{\n"
           "  \"name\": " +
           JsonString(title) +
           ",\n"
           "  \"short_name\": " +
           JsonString(shortName) +
           ",\n"
           "  \"start_url\": \"./index.html\",\n"
           "  \"scope\": \"./\",\n"
           "  \"display\": \"standalone\",\n"
           "  \"background_color\": \"#ffffff\",\n"
           "  \"theme_color\": \"#2a6339\",\n"
           "  \"icons\": [\n"
           "    {\"src\": \"icon.svg\", \"sizes\": \"any\", \"type\": \"image/svg+xml\"},\n"
           "    {\"src\": \"icon-192.png\", \"sizes\": \"192x192\", \"type\": \"image/png\"},\n"
           "    {\"src\": \"icon-512.png\", \"sizes\": \"512x512\", \"type\": \"image/png\"},\n"
           "    {\"src\": \"icon-512.png\", \"sizes\": \"512x512\", \"type\": \"image/png\", "
           "\"purpose\": \"maskable\"}\n"
           "  ]\n"
           "}\n";
}

}  // namespace vorn::publish
