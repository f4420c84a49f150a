// The list a publication keeps of its files (.vorn-published) on any bytes, as
// vorn-publish --force reads it before removing anything: every path it gives lies inside
// the folder, and a list written from them reads back the same.
#include <cstdint>
#include <string>

#include "fuzz/Check.h"
#include "publish/PublishedFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn::publish;
    std::string why;
    auto paths = ReadPublishedList({reinterpret_cast<const char*>(data), size}, &why);
    if (!paths) {
        FUZZ_CHECK(why.rfind("line ", 0) == 0, "a refused list names its line");
        return 0;
    }
    for (const std::string& path : *paths) {
        FUZZ_CHECK(IsPublishedPath(path), "every path is a file name of the folder");
        FUZZ_CHECK(path[0] != '/', "no path is absolute");
        bool up = path == ".." || path.rfind("../", 0) == 0 ||
                  path.find("/../") != std::string::npos ||
                  (path.size() >= 3 && path.compare(path.size() - 3, 3, "/..") == 0);
        FUZZ_CHECK(!up, "no part of a path is \"..\"");
    }
    auto again = ReadPublishedList(PublishedListText(*paths), nullptr);
    FUZZ_CHECK(again && *again == *paths, "a list written reads back the same");
    return 0;
}
