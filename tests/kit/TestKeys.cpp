#include "tests/kit/TestKeys.h"

#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"
#include "core/platform/WholeFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace vorn::testing {

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    try {
        return ReadOpenFile(OpenOrdinaryFile(path), path).Bytes;
    } catch (const IoError&) {
        return {};
    }
}

std::string WriteKey(const std::string& directory, const KeySpec& keySpec) {
    return WriteKeyFiles(directory, keySpec);
}

KeySpec RandomKey(int32_t taxa, int32_t states, uint32_t seed) {
    KeySpec keySpec;
    keySpec.Name = "RANDOM";
    keySpec.TitleLines = {"A random key", "for tests"};
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> percent(0, 99);
    for (int32_t t = 0; t < taxa; ++t) {
        keySpec.Taxa.push_back("Taxon " + std::to_string(t + 1) + "/Common " +
                               std::to_string(t + 1));
    }
    for (int32_t s = 0; s < states; ++s) {
        keySpec.States.push_back("Character " + std::to_string(s / 3 + 1) + ": state " +
                                 std::to_string(s % 3 + 1));
        std::string codes;
        for (int32_t t = 0; t < taxa; ++t) {
            int p = percent(rng);
            codes += p < 55 ? '-' : p < 85 ? '+' : p < 93 ? '*' : '?';
        }
        keySpec.Codes.push_back(codes);
    }
    return keySpec;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorn-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    path_ = pattern + "/";
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace vorn::testing
