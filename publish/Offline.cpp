#include "publish/Offline.h"

#include <cstdio>

#include "core/platform/Text.h"

namespace vorn::publish {

void PublicationDigest::Mix(std::string_view bytes) {
    // FNV-1a: a change of any byte reaches the digest; no secret is guarded by it.
    for (unsigned char c : bytes) {
        hash_ ^= c;
        hash_ *= 1099511628211ull;
    }
}

void PublicationDigest::Add(std::string_view path, std::string_view bytes) {
    // The lengths go in first, so that no two lists of files mix to the same bytes.
    std::string lengths = std::to_string(path.size()) + ":" + std::to_string(bytes.size()) + ":";
    Mix(lengths);
    Mix(path);
    Mix(bytes);
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
