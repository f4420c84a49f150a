#include "importers/delta/DeltaText.h"

#include <algorithm>
#include <cstdint>

#include "core/platform/Text.h"
#include "importers/common/KeyText.h"

namespace vorn::delta {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// An internal code is a comment whose words are themselves one comment: <<implicit>>.
bool IsInternalCode(std::string_view text, size_t at, size_t end) {
    return end - at >= 4 && text[at + 1] == '<' && CommentEnd(text, at + 1) == end - 1 &&
           text[end - 1] == '>';
}

// The character of a mark that stands for one; null for other marks.
const char* MarkCharacter(std::string_view word) {
    static const std::pair<std::string_view, const char*> kMarks[] = {
        {"endash", "\u2013"}, {"emdash", "\u2014"},    {"lquote", "\u2018"},
        {"rquote", "\u2019"}, {"ldblquote", "\u201C"}, {"rdblquote", "\u201D"},
        {"bullet", "\u2022"}};
    for (const auto& [name, character] : kMarks) {
        if (word == name) return character;
    }
    return nullptr;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void AppendCodePoint(std::string& out, uint32_t cp) {
    // Characters that DELTA reads as structure would change what the text means.
    if (cp < 0x20 || cp == 0x7F) return;
    if (cp < 0x80 &&
        std::string_view("<>/#*\\{}").find(static_cast<char>(cp)) != std::string_view::npos) {
        return;
    }
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The length of the UTF-8 character at `i` (1 for a byte that starts none).
size_t CharacterLength(std::string_view text, size_t i) {
    auto b = static_cast<unsigned char>(text[i]);
    size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return std::min(length, text.size() - i);
}

}  // namespace

std::string FromDeltaBytes(std::string_view bytes, const std::string& encoding) {
    return ReplaceCharacterMarks(import::DecodeBytes(bytes, encoding), encoding);
}

std::string ReplaceCharacterMarks(std::string_view text, const std::string& encoding) {
    std::string out;
    out.reserve(text.size());
    // \'hh names a byte of a code page; in a UTF-8 file, of the Windows one.
    std::string folded = FoldCase(encoding);
    std::string codePage =
        encoding.empty() || folded == "utf-8" || folded == "utf8" ? "windows-1252" : encoding;
    int fallbacks = 1;
    // Where a mark's delimiter ends: "{}" or one blank go with the mark.
    auto delimited = [&](size_t j) {
        if (j + 1 < text.size() && text[j] == '{' && text[j + 1] == '}') return j + 2;
        if (j < text.size() && text[j] == ' ') return j + 1;
        return j;
    };
    auto byteMark = [&](size_t j) {
        return j + 3 < text.size() && text[j] == '\\' && text[j + 1] == '\'' &&
               HexDigit(text[j + 2]) >= 0 && HexDigit(text[j + 3]) >= 0;
    };
    for (size_t i = 0; i < text.size();) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i++];
            continue;
        }
        char next = text[i + 1];
        if (next == '~') {
            out += "\u00A0";
            i += 2;
        } else if (byteMark(i)) {
            char byte = static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
            std::string character = import::DecodeBytes(std::string_view(&byte, 1), codePage);
            if (!character.empty() && static_cast<unsigned char>(character[0]) >= 0x80) {
                out += character;
            } else if (!character.empty()) {
                AppendCodePoint(out, static_cast<unsigned char>(character[0]));
            }
            i += 4;
        } else if (IsLetter(next)) {
            size_t j = i + 1;
            while (j < text.size() && IsLetter(text[j]))
                ++j;
            std::string_view word = text.substr(i + 1, j - i - 1);
            size_t digits = j;
            bool negative = j + 1 < text.size() && text[j] == '-' && IsDigit(text[j + 1]);
            if (negative) ++digits;
            size_t end = digits;
            long number = 0;
            while (end < text.size() && IsDigit(text[end])) {
                if (end - digits < 9) number = number * 10 + (text[end] - '0');
                ++end;
            }
            bool hasNumber = end > digits;
            if (negative) number = -number;
            if (word == "u" && hasNumber) {
                if (number < 0) number += 65536;
                AppendCodePoint(
                    out, number >= 0 && number <= 0xFFFF ? static_cast<uint32_t>(number) : 0xFFFD);
                i = delimited(end);
                // The fallback characters stand in for readers that do not know \u.
                for (int k = 0; k < fallbacks && i < text.size(); ++k) {
                    if (byteMark(i)) {
                        i += 4;
                    } else if (text[i] == '\\' || text[i] == '{' || text[i] == '}') {
                        break;
                    } else {
                        i += CharacterLength(text, i);
                    }
                }
            } else if (word == "uc" && hasNumber) {
                fallbacks = static_cast<int>(std::clamp(number, 0L, 10L));
                i = delimited(end);
            } else if (const char* character = hasNumber ? nullptr : MarkCharacter(word)) {
                out += character;
                i = delimited(end);
            } else {
                out.append(text.substr(i, end - i));
                i = end;
            }
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::vector<size_t> MarkPlainLess(std::string& data) {
    // Each ">" closes the innermost open "<". A "#" after a blank ends a record unless the
    // comments open there close on its own line ("<see #2>"); those still open at the end
    // of that line, or of the data, close nowhere.
    std::vector<size_t> open, plain;
    size_t atRecordEnd = 0;  // how many of `open` were open at such a "#" on this line
    auto unclosed = [&](size_t count) {
        if (count == 0) return;
        plain.insert(plain.end(), open.begin(), open.begin() + static_cast<ptrdiff_t>(count));
        open.erase(open.begin(), open.begin() + static_cast<ptrdiff_t>(count));
    };
    for (size_t i = 0; i < data.size(); ++i) {
        char c = data[i];
        if (c == PlainLess) {
            data[i] = ' ';
        } else if (c == '<') {
            open.push_back(i);
        } else if (c == '>') {
            if (!open.empty()) open.pop_back();
            atRecordEnd = std::min(atRecordEnd, open.size());
        } else if (c == '#' && i > 0 && IsBlank(data[i - 1])) {
            atRecordEnd = open.size();
        } else if (c == '\n') {
            unclosed(atRecordEnd);
            atRecordEnd = 0;
        }
    }
    unclosed(open.size());
    std::sort(plain.begin(), plain.end());
    for (size_t at : plain)
        data[at] = PlainLess;
    return plain;
}

std::string WithPlainLess(std::string text) {
    std::replace(text.begin(), text.end(), PlainLess, '<');
    return text;
}

size_t CommentEnd(std::string_view text, size_t at) {
    int depth = 0;
    for (size_t i = at; i < text.size(); ++i) {
        if (text[i] == '<') {
            ++depth;
        } else if (text[i] == '>' && --depth == 0) {
            return i + 1;
        }
    }
    return text.size();
}

std::string RemoveComments(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '<') {
            i = CommentEnd(text, i);
            out += ' ';  // a comment parts the words around it
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::string CommentsAsWords(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '<') {
            size_t end = CommentEnd(text, i);
            if (IsInternalCode(text, i, end)) {
                i = end;
            } else {
                ++i;
            }
            out += ' ';
        } else if (text[i] == '>') {
            out += ' ';
            ++i;
        } else {
            out += text[i++];
        }
    }
    return out;
}

namespace {

// Hands `take` what stands inside each comment of `text` in turn, internal codes left out,
// until it returns true.
template <class Take>
void ForEachComment(std::string_view text, Take take) {
    for (size_t i = 0; i < text.size();) {
        if (text[i] != '<') {
            ++i;
            continue;
        }
        size_t end = CommentEnd(text, i);
        if (!IsInternalCode(text, i, end)) {
            size_t innerEnd = end > i + 1 && text[end - 1] == '>' ? end - 1 : end;
            if (take(text.substr(i + 1, innerEnd - i - 1))) return;
        }
        i = end;
    }
}

}  // namespace

std::string FirstCommentWords(std::string_view text) {
    std::string words;
    ForEachComment(text, [&](std::string_view inside) {
        words = Squeeze(RemoveMarks(CommentsAsWords(inside)));
        return !words.empty();
    });
    return words;
}

std::string CommentContents(std::string_view text) {
    std::string out;
    ForEachComment(text, [&](std::string_view inside) {
        out += ' ';
        out += RemoveMarks(CommentsAsWords(inside), true);
        return false;
    });
    return Squeeze(out);
}

std::string RemoveMarks(std::string_view text, bool lineBreaks) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size() && IsLetter(text[i + 1])) {
            size_t j = i + 1;
            while (j < text.size() && IsLetter(text[j]))
                ++j;
            std::string_view word = text.substr(i + 1, j - i - 1);
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            if (j + 1 < text.size() && text[j] == '{' && text[j + 1] == '}') j += 2;
            if (word == "par" || word == "line") {
                out += lineBreaks ? LineBreak : ' ';
            }
            i = j;
        } else if (c == '{' || c == '}') {
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::string Squeeze(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool pendingBlank = false;
    for (char c : text) {
        if (IsBlank(c)) {
            pendingBlank = true;
            continue;
        }
        bool dropBlank = out.empty() || out.back() == '(' || out.back() == LineBreak || c == ',' ||
                         c == '.' || c == ';' || c == ':' || c == ')' || c == LineBreak;
        if (pendingBlank && !dropBlank) out += ' ';
        pendingBlank = false;
        out += c;
    }
    while (!out.empty() && out.back() == LineBreak)
        out.pop_back();
    return WithPlainLess(std::move(out));
}

std::string CleanText(std::string_view text) {
    return Squeeze(RemoveMarks(RemoveComments(text)));
}

}  // namespace vorn::delta
