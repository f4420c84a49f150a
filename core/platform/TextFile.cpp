#include "core/platform/TextFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"

namespace vorn {

TextFile::~TextFile() {
    if (file_) std::fclose(file_);
}

void TextFile::Open(const std::string& fileName) {
    if (file_) Close();
    fileName_ = fileName;
    line_ = 1;
    int fd = OpenForReading(fileName);
    file_ = ::fdopen(fd, "rb");
    if (!file_) {
        int err = errno;
        ::close(fd);
        throw IoError(fileName, "open", std::strerror(err));
    }
}

void TextFile::Close() {
    if (!file_) return;
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) throw IoError(fileName_, "close", std::strerror(errno));
}

int TextFile::Get() {
    if (!file_) throw IoError(fileName_, "read", "the file is not open");
    int c = std::getc(file_);
    if (c == EOF && std::ferror(file_)) throw IoError(fileName_, "read", std::strerror(errno));
    return c;
}

int TextFile::Peek() {
    int c = Get();
    if (c != EOF) std::ungetc(c, file_);
    return c;
}

bool TextFile::AtEnd() {
    return Peek() == EOF;
}

bool TextFile::AtLineEnd() {
    int c = Peek();
    return c == EOF || c == '\r' || c == '\n';
}

void TextFile::ConsumeLineEnd() {
    int c = Get();
    if (c == '\r') {
        if (Peek() == '\n') Get();
        ++line_;
    } else if (c == '\n') {
        ++line_;
    }
}

int TextFile::ReadChar() {
    if (AtLineEnd()) return -1;
    return Get();
}

std::string TextFile::ReadLine() {
    std::string text;
    for (;;) {
        int c = Get();
        if (c == EOF) break;
        if (c == '\r' || c == '\n') {
            std::ungetc(c, file_);
            ConsumeLineEnd();
            break;
        }
        if (text.size() < kMaxLine) text.push_back(static_cast<char>(c));
    }
    return text;
}

void TextFile::SkipLine() {
    ReadLine();
}

int32_t TextFile::ReadNumber(bool acrossLines) {
    for (;;) {
        int c = Peek();
        if (c == ' ' || c == '\t') {
            Get();
        } else if (acrossLines && (c == '\r' || c == '\n')) {
            ConsumeLineEnd();
        } else {
            break;
        }
    }
    int line = line_;
    bool negative = false;
    int c = Peek();
    if (c == '+' || c == '-') {
        negative = c == '-';
        Get();
    }
    int64_t value = 0;
    bool digits = false;
    while ((c = Peek()) >= '0' && c <= '9') {
        Get();
        digits = true;
        if (value <= INT32_MAX) value = value * 10 + (c - '0');
    }
    if (!digits) {
        throw IoError(fileName_, "read", "a number was expected in line " + std::to_string(line));
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace vorn
