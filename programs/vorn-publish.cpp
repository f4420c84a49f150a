#include <iostream>
#include <string>
#include <vector>

#include "core/session/DataPaths.h"
#include "publish/Publish.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string data = vorn::RunningProgramDataPaths().Data;
    return vorn::publish::RunPublish(args, std::cout, std::cerr,
                                     data.empty() ? std::string() : data + "web/");
}
