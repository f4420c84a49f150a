#include <iostream>
#include <string>
#include <vector>

#include "core/platform/LargeArray.h"
#include "core/session/DataPaths.h"
#include "publish/Publish.h"

int main(int argc, char** argv) {
    // A large key's texts and page are built in memory whole.
    vorn::GrowHeapInLargePages(size_t{64} << 20);
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string data = vorn::RunningProgramDataPaths().Data;
    return vorn::publish::RunPublish(args, std::cout, std::cerr,
                                     data.empty() ? std::string() : data + "web/");
}
