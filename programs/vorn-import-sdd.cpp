#include <iostream>
#include <string>
#include <vector>

#include "importers/sdd/SddImport.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return vorn::sdd::RunImportSdd(args, std::cout, std::cerr);
}
