#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/key/KeyWriter.h"

namespace vorn::testing {

// A key for tests and benchmarks that need keys of their own, written by the same
// writer as the converters' keys. Texts are written as given (bytes).
struct KeySpec : KeyContents {
    KeySpec() { Name = "TEST"; }
};

// Writes the key into `directory` (which must exist). Returns the .DES file's path.
std::string WriteKey(const std::string& directory, const KeySpec& keySpec);

// A key of `taxa` x `states` with codes drawn with realistic frequencies (about 55%
// absent, 30% present, 8% variable, 7% unknown), the same for the same seed.
KeySpec RandomKey(int32_t taxa, int32_t states, uint32_t seed);

// Writes a whole file.
void WriteFile(const std::string& path, const std::string& bytes);
// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// A fresh, empty temporary directory (ending in "/"), removed by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace vorn::testing
