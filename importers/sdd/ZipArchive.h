#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct zip;

namespace vorn::sdd {

// A zip archive opened for reading with libzip. Entry names are only ever compared,
// never used as paths; what is read is capped, whatever sizes the archive declares.
class ZipArchive {
public:
    // Opens `path`; on failure Valid() is false and Error() says why.
    explicit ZipArchive(const std::string& path);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool Valid() const { return archive_ != nullptr; }
    const std::string& Error() const { return error_; }

    // The names of the archive's files (folders left out), in the archive's order.
    std::vector<std::string> Names() const;

    // The file named `name` (the name as stored, else one that differs only in letter
    // case), read whole; nothing, with `why`, when there is none, when it cannot be read
    // or when it holds more than `limit` bytes.
    std::optional<std::string> Read(const std::string& name, size_t limit, std::string* why) const;

private:
    zip* archive_ = nullptr;
    std::string error_;
};

}  // namespace vorn::sdd
