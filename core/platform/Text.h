#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorn {

// The code point of Windows-1252 byte `b`; the five bytes Windows-1252 leaves undefined
// give the control characters of the same number.
uint32_t FromWindows1252(unsigned char b);

// The code point at `i` of UTF-8 text (`i` below its size), advancing `i` past it. A byte
// that starts no well-formed sequence (overlong forms, surrogates and values beyond
// U+10FFFF are not) gives U+FFFD, advances `i` by one and sets `valid` when given.
uint32_t NextUtf8CodePoint(std::string_view text, size_t& i, bool* valid = nullptr);
// True when `text` is well-formed UTF-8.
bool IsUtf8(std::string_view text);

// Texts in keys are 8-bit Windows text (Windows-1252): Latin-1 plus printable characters
// at 0x80-0x9F. Returns UTF-8. The five bytes that Windows-1252 leaves undefined map to
// the control characters of the same number, as Windows itself does.
std::string KeyTextToUtf8(std::string_view bytes);

// Names from the file system (a key's name, a file's) are bytes, UTF-8 by this
// desktop's convention: returns them as UTF-8, each byte that is not part of a valid
// UTF-8 sequence replaced by U+FFFD, as the toolkit shows such names.
std::string FileNameToUtf8(std::string_view bytes);

// UTF-8 text fit for a terminal: control characters that could move the cursor, retitle
// the window or clear the screen (C0 controls other than tab, DEL, and U+0080 to U+009F,
// which the Windows-1252 decoding gives for its undefined bytes) become U+FFFD.
std::string ReplaceControls(std::string_view utf8);

// Letter case as the files of keys ignore it: ASCII letters and the letters of
// Windows-1252 (\xC9 folds to \xE9, \x8A to \x9A, \x9F to \xFF), one byte of key text.
char FoldCase(char c);
std::string FoldCase(std::string_view text);
// True when two names are the same ignoring case. A name from a key is Windows-1252
// bytes, while the same name on disk may have been written as those bytes or as their
// UTF-8 form, so each side is read both ways (as UTF-8 only when it is valid UTF-8)
// and the names are equal when any reading of one equals any reading of the other.
bool EqualIgnoringCase(std::string_view a, std::string_view b);
// True when `text` ends with `suffix` (lower case) ignoring case.
bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix);

// `text` as a JSON string, quotes included: '"' and '\\' escaped, control characters
// below 0x20 written as escapes; other bytes as they are (UTF-8 text stays UTF-8).
std::string JsonString(std::string_view text);
// The same, appended to `out`.
void AppendJsonString(std::string& out, std::string_view text);

// The text without blanks (0x20) at its start and end.
std::string_view TrimBlanks(std::string_view text);

}  // namespace vorn
