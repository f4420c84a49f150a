#include "core/key/NotesText.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"
#include "core/platform/Text.h"

namespace vorn {
namespace {

// At most `limit` bytes of the file, and whether it holds more.
std::string ReadHead(const std::string& fileName, size_t limit, bool* more) {
    int fd = OpenForReading(fileName);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(::fdopen(fd, "rb"), std::fclose);
    if (!file) {
        int error = errno;
        ::close(fd);
        throw IoError(fileName, "open", std::strerror(error));
    }
    // In pieces, so that a note of a few kilobytes takes a few kilobytes.
    std::string bytes;
    char piece[1 << 14];
    while (bytes.size() <= limit) {
        size_t got =
            std::fread(piece, 1, std::min(sizeof piece, limit + 1 - bytes.size()), file.get());
        bytes.append(piece, got);
        if (got == 0) break;
    }
    if (std::ferror(file.get())) throw IoError(fileName, "read", std::strerror(errno));
    if (std::fclose(file.release()) != 0) throw IoError(fileName, "close", std::strerror(errno));
    *more = bytes.size() > limit;
    bytes.resize(std::min(bytes.size(), limit));
    return bytes;
}

}  // namespace

NotesText NotesTextOf(std::string_view bytes, bool more) {
    std::string text;
    text.reserve(bytes.size());
    NotesText notes;
    notes.Cut = more;
    int lines = 0;
    size_t i = 0;
    while (i < bytes.size()) {
        if (lines == kMaxNotesLines) {
            notes.Cut = true;
            break;
        }
        size_t end = bytes.find_first_of("\r\n", i);
        if (end == std::string_view::npos) end = bytes.size();
        if (lines > 0) text += '\n';
        text.append(bytes, i, end - i);
        ++lines;
        i = end;
        if (i < bytes.size() && bytes[i++] == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
    }
    notes.Text = KeyTextToUtf8(text);
    return notes;
}

NotesText ReadNotesText(const std::string& fileName) {
    bool more = false;
    std::string bytes = ReadHead(fileName, kMaxNotesBytes, &more);
    return NotesTextOf(bytes, more);
}

}  // namespace vorn
