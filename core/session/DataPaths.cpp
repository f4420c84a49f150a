#include "core/session/DataPaths.h"

#include <filesystem>
#include <system_error>

namespace vorn {
namespace fs = std::filesystem;

DataPaths DataPathsFor(const std::string& programFile) {
    DataPaths paths;
    paths.Program = programFile;
    fs::path bin = fs::path(programFile).parent_path();
    if (bin.empty()) return paths;
    paths.Data = (bin.parent_path() / "share" / "vorn").lexically_normal().string() + "/";
    paths.Pages = paths.Data + "docs/";
    paths.Keys = paths.Data + "keys/";
    return paths;
}

DataPaths RunningProgramDataPaths() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? DataPaths{} : DataPathsFor(self.string());
}

std::string ShippedFile(const DataPaths& paths, const std::string& relative) {
    const std::string& data = paths.Data;
    if (data.empty()) return {};
    std::string path = data + relative;
    std::error_code error;
    return fs::is_regular_file(path, error) ? path : std::string();
}

std::string SampleKeysFolder(const DataPaths& paths) {
    const std::string& keys = paths.Keys;
    std::error_code error;
    return !keys.empty() && fs::is_directory(keys, error) ? keys : std::string();
}

}  // namespace vorn
