#include <iostream>
#include <string>
#include <vector>

#include "app/Identify.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return vorn::RunIdentify(args, std::cout, std::cerr);
}
