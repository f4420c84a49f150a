// The settings file on any bytes: reading never fails, a value read is never longer than
// the limit, what was set reads back, and a profile saved and read again saves to the
// same bytes.
#include <string>

#include "core/platform/PrivateProfile.h"
#include "fuzz/Check.h"
#include "fuzz/FuzzSupport.h"
#include "tests/kit/TestKeys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn;
    std::string path =
        fuzz::WriteWorkFile("VORNWIN.INI", {reinterpret_cast<const char*>(data), size});
    PrivateProfile ini(path);
    for (const char* section : {"OpenKey", "Directories", "History", "Modes"}) {
        for (const char* key : {"FullName", "WorkDir", "0", "5", "NumberMode", "NameMode"}) {
            if (auto value = ini.Get(section, key)) {
                FUZZ_CHECK(value->size() <= PrivateProfile::kMaxValue, "values are cut");
            }
        }
    }
    // What the program sets at its end: values taken from the input itself, so they may
    // hold anything a path can.
    std::string value(reinterpret_cast<const char*>(data), size < 40 ? size : 40);
    ini.Set("OpenKey", "FullName", value);
    ini.EraseSection("History");
    ini.Set("History", "0", value + "/TREES.DES");
    ini.Set("Modes", "CountMode", "1");
    std::string expected = value.substr(0, value.find_first_of("\r\n"));
    auto trimmed = [](std::string text) {
        size_t begin = text.find_first_not_of(" \t");
        if (begin == std::string::npos) return std::string();
        return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
    };
    FUZZ_CHECK(ini.Get("OpenKey", "FullName") == trimmed(expected), "a value set reads back");
    FUZZ_CHECK(ini.Get("Modes", "CountMode") == "1", "a value set reads back");
    ini.Save();
    std::string first = testing::ReadFile(path);
    PrivateProfile again(path);
    FUZZ_CHECK(again.Get("Modes", "CountMode") == "1", "a value saved reads back");
    again.Save();
    FUZZ_CHECK(testing::ReadFile(path) == first, "saving an unchanged profile changes nothing");
    return 0;
}
