#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace vorn::publish {

// The publisher: turns a key into a folder of static web files that identify in any
// browser with VORN's own engine (web/), and reports what it wrote.
//
//   vorn-publish KEY.DES OUTDIR [--force] [--title TEXT]
//
// `webFolder` (ending in "/") holds what every published key shares: page/ (index.html,
// the style sheet, the page's modules) and engine/ (vorn-engine.js and .wasm, the core
// compiled to WebAssembly); the program passes share/vorn/web/. Returns the exit status:
// 0 published (pictures or notes missing from the key's folder are listed, never fatal);
// 1 the key cannot be published (it cannot be opened, the engine is missing, a file
// cannot be written); 2 bad usage, or an OUTDIR that cannot be taken. Nothing is written
// outside OUTDIR, and nothing into the key.
int RunPublish(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::string& webFolder);

// One publication, as the desktop asks for it: what the command line gives, and a
// progress report after each file written (the files written and the files planned) that
// stops the run, with status 1, when it answers false.
struct PublishRequest {
    std::string Key, OutDir, Title;
    bool Force = false;
    std::function<bool(size_t written, size_t planned)> Progress;
};

// Publishes as RunPublish does, the report to `out`, the reason of a failure to `err` in
// one line; the same exit statuses.
int PublishKey(const PublishRequest& request, std::ostream& out, std::ostream& err,
               const std::string& webFolder);

// The line PublishKey writes to `err` when Progress stopped it.
inline constexpr char kPublishCancelled[] = "the publication was cancelled";

}  // namespace vorn::publish
