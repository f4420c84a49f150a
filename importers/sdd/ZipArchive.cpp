#include "importers/sdd/ZipArchive.h"

#include <zip.h>

#include "core/platform/Text.h"

namespace vorn::sdd {

ZipArchive::ZipArchive(const std::string& path) {
    int code = 0;
    archive_ = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!archive_) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        error_ = zip_error_strerror(&error);
        zip_error_fini(&error);
    }
}

ZipArchive::~ZipArchive() {
    if (archive_) zip_discard(archive_);
}

std::vector<std::string> ZipArchive::Names() const {
    std::vector<std::string> names;
    if (!archive_) return names;
    zip_int64_t count = zip_get_num_entries(archive_, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        if (!name || !*name) continue;
        std::string text = name;
        if (text.back() != '/') names.push_back(text);
    }
    return names;
}

std::optional<std::string> ZipArchive::Read(const std::string& name, size_t limit,
                                            std::string* why) const {
    auto fail = [&](const std::string& reason) {
        if (why) *why = reason;
        return std::nullopt;
    };
    if (!archive_) return fail(error_);
    zip_int64_t index = zip_name_locate(archive_, name.c_str(), ZIP_FL_ENC_GUESS);
    if (index < 0)
        index = zip_name_locate(archive_, name.c_str(), ZIP_FL_NOCASE | ZIP_FL_ENC_GUESS);
    if (index < 0) {
        // libzip ignores the case of ASCII letters only; names may be in Windows-1252.
        zip_int64_t count = zip_get_num_entries(archive_, 0);
        for (zip_int64_t i = 0; i < count && index < 0; ++i) {
            const char* entry =
                zip_get_name(archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
            if (entry && EqualIgnoringCase(entry, name)) index = i;
        }
    }
    if (index < 0) return fail("not in the zip archive");
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &stat) == 0 &&
        (stat.valid & ZIP_STAT_SIZE) && stat.size > limit) {
        return fail("it unpacks to " + std::to_string(stat.size) + " bytes, more than the " +
                    std::to_string(limit) + " read");
    }
    zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
    if (!file) return fail(zip_strerror(archive_));
    std::string bytes;
    char buffer[65536];
    while (true) {
        zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        if (n < 0) {
            std::string reason = zip_file_strerror(file);
            zip_fclose(file);
            return fail(reason);
        }
        if (n == 0) break;
        // The declared size may lie: what is read is counted as it comes.
        if (bytes.size() + static_cast<size_t>(n) > limit) {
            zip_fclose(file);
            return fail("it unpacks to more than the " + std::to_string(limit) + " bytes read");
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    if (zip_fclose(file) != 0) return fail("its data is damaged");
    return bytes;
}

}  // namespace vorn::sdd
