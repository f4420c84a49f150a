#include "core/platform/Text.h"

#include <cstdint>
#include <cstdio>
#include <optional>

namespace vorn {
namespace {

// Unicode code points of Windows-1252 bytes 0x80-0x9F.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

uint32_t FromWindows1252(unsigned char b) {
    return b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b;
}

uint32_t NextUtf8CodePoint(std::string_view text, size_t& i, bool* valid) {
    auto invalid = [&] {
        ++i;
        if (valid) *valid = false;
        return 0xFFFDu;
    };
    auto b = static_cast<unsigned char>(text[i]);
    size_t length = b < 0x80                 ? 1
                    : b >= 0xC2 && b <= 0xDF ? 2
                    : b >= 0xE0 && b <= 0xEF ? 3
                    : b >= 0xF0 && b <= 0xF4 ? 4
                                             : 0;
    if (length == 0 || i + length > text.size()) return invalid();
    uint32_t cp = length == 1 ? b : b & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80) return invalid();
        cp = cp << 6 | (c & 0x3F);
    }
    static constexpr uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return invalid();
    i += length;
    return cp;
}

bool IsUtf8(std::string_view text) {
    bool valid = true;
    for (size_t i = 0; i < text.size() && valid;)
        NextUtf8CodePoint(text, i, &valid);
    return valid;
}

std::string KeyTextToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes) {
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else if (b < 0xA0) {
            AppendUtf8(out, kHigh[b - 0x80]);
        } else {
            AppendUtf8(out, b);
        }
    }
    return out;
}

std::string FileNameToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        auto b = static_cast<unsigned char>(bytes[i]);
        // Length of the sequence and the bounds of its second byte (which excludes
        // overlong forms, surrogates and code points beyond U+10FFFF).
        size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (b < 0x80) {
            length = 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0) low = 0xA0;
            if (b == 0xED) high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0) low = 0x90;
            if (b == 0xF4) high = 0x8F;
        }
        bool valid = length > 0 && i + length <= bytes.size();
        for (size_t k = 1; valid && k < length; ++k) {
            auto c = static_cast<unsigned char>(bytes[i + k]);
            valid = k == 1 ? c >= low && c <= high : c >= 0x80 && c <= 0xBF;
        }
        if (valid) {
            out.append(bytes.substr(i, length));
            i += length;
        } else {
            AppendUtf8(out, 0xFFFD);
            ++i;
        }
    }
    return out;
}

std::string ReplaceControls(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        auto b = static_cast<unsigned char>(utf8[i]);
        bool c1 = b == 0xC2 && i + 1 < utf8.size() &&
                  static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                  static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
        if ((b < 0x20 && b != '\t') || b == 0x7F || c1) {
            AppendUtf8(out, 0xFFFD);
            if (c1) ++i;
        } else {
            out += static_cast<char>(b);
        }
    }
    return out;
}

char FoldCase(char c) {
    auto b = static_cast<unsigned char>(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) b += 0x20;
    if (b == 0x8A || b == 0x8C || b == 0x8E) b += 0x10;  // Š Œ Ž
    if (b == 0x9F) b = 0xFF;                             // Ÿ
    return static_cast<char>(b);
}

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        c = FoldCase(c);
    return folded;
}

namespace {

// The lower case of a letter that Windows-1252 holds; other code points as they are.
uint32_t FoldCodePoint(uint32_t cp) {
    if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)) return cp + 0x20;
    if (cp == 0x160 || cp == 0x152 || cp == 0x17D) return cp + 1;
    if (cp == 0x178) return 0xFF;
    return cp;
}

// The folded code points of `text` read as UTF-8; nothing when it is not valid UTF-8.
std::optional<std::u32string> FoldedUtf8(std::string_view text) {
    std::u32string out;
    bool valid = true;
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = NextUtf8CodePoint(text, i, &valid);
        if (!valid) return std::nullopt;
        out += FoldCodePoint(cp);
    }
    return out;
}

std::u32string FoldedWindows1252(std::string_view text) {
    std::u32string out;
    for (unsigned char b : text)
        out += FoldCodePoint(FromWindows1252(b));
    return out;
}

bool IsAscii(std::string_view text) {
    for (unsigned char b : text)
        if (b >= 0x80) return false;
    return true;
}

}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (IsAscii(a) && IsAscii(b)) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i) {
            if (FoldCase(a[i]) != FoldCase(b[i])) return false;
        }
        return true;
    }
    std::u32string readings[2][2] = {{FoldedWindows1252(a), {}}, {FoldedWindows1252(b), {}}};
    bool utf8[2] = {false, false};
    std::string_view texts[2] = {a, b};
    for (int k = 0; k < 2; ++k) {
        if (auto folded = FoldedUtf8(texts[k])) {
            readings[k][1] = std::move(*folded);
            utf8[k] = true;
        }
    }
    for (int x = 0; x < (utf8[0] ? 2 : 1); ++x) {
        for (int y = 0; y < (utf8[1] ? 2 : 1); ++y) {
            if (readings[0][x] == readings[1][y]) return true;
        }
    }
    return false;
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string_view TrimBlanks(std::string_view text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

std::string JsonString(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    size_t plain = 0;  // the start of the run of characters that stand as they are
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(text, plain, i - plain);
        plain = i + 1;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default: {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            }
        }
    }
    out.append(text, plain, text.size() - plain);
    out += '"';
}

}  // namespace vorn
