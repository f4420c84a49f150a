// Runs a harness over the files named on the command line, or over every file in the
// folders named there: the seed corpus and the reproducers of past findings, replayed
// in every build, so a fixed fault stays fixed without clang or libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        // Absolute: a harness may change the current directory, as opening a key does.
        std::filesystem::path path = std::filesystem::absolute(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else {
            files.push_back(path);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    for (const auto& file : files) {
        std::string bytes;
        std::FILE* in = std::fopen(file.c_str(), "rb");
        char buffer[65536];
        size_t n = 0;
        while (in && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
            bytes.append(buffer, n);
        if (!in || std::ferror(in)) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 1;
        }
        std::fclose(in);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu inputs replayed\n", files.size());
    return 0;
}
