#include <iostream>
#include <string>
#include <vector>

#include "importers/delta/DeltaImport.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return vorn::delta::RunImportDelta(args, std::cout, std::cerr);
}
