#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vorn {

// A text file read line by line or number by number, as title pages, index files,
// history lists and notes are read. Lines end with CR, LF or CR LF. Texts are bytes as
// the file holds them (8-bit Windows text in keys); decoding is the caller's business.
// Every failure throws IoError naming the file.
class TextFile {
public:
    TextFile() = default;
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Opens `fileName`, resolved as every key file is.
    void Open(const std::string& fileName);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& FileName() const { return fileName_; }

    // True when no character is left.
    bool AtEnd();
    // True at the end of a line or of the file.
    bool AtLineEnd();
    // The next character of the current line, consumed; -1 at a line end (not consumed).
    int ReadChar();
    // The rest of the current line without its end, then moves past that end. Lines
    // longer than kMaxLine bytes are cut there; the rest is skipped.
    std::string ReadLine();
    // Discards the rest of the current line and its end.
    void SkipLine();
    // Reads a decimal integer with an optional sign, after skipping blanks and tabs, and
    // line ends too when `acrossLines`. The characters after the digits stay unread. A
    // value beyond the 32-bit range saturates. No digits there: IoError naming the line.
    int32_t ReadNumber(bool acrossLines);
    // The number of the line the next character belongs to, from 1.
    int LineNumber() const { return line_; }

    static constexpr size_t kMaxLine = 1 << 20;

private:
    int Peek();
    int Get();
    void ConsumeLineEnd();

    std::FILE* file_ = nullptr;
    std::string fileName_;
    int line_ = 1;
};

}  // namespace vorn
