#include "importers/delta/DeltaText.h"

#include <cstdint>

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

// The ASCII stand-in for a Windows quote, dash or ellipsis; empty when there is none.
const char* AsciiFor(uint32_t c) {
    switch (c) {
        case 0x82:
        case 0x8B:
        case 0x91:
        case 0x92:
        case 0x9B:
        case 0x2018:
        case 0x2019:
        case 0x201A:
        case 0x2039:
        case 0x203A:
            return "'";
        case 0x84:
        case 0x93:
        case 0x94:
        case 0x201C:
        case 0x201D:
        case 0x201E:
            return "\"";
        case 0x96:
        case 0x97:
        case 0x2013:
        case 0x2014:
            return "-";
        case 0x85:
        case 0x2026:
            return "...";
        default:
            return nullptr;
    }
}

}  // namespace

std::string FromDeltaBytes(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        const char* ascii = c >= 0x80 && c < 0xA0 ? AsciiFor(c) : nullptr;
        if (ascii) {
            out += ascii;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string ToKeyText(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) ch = '?';
    }
    return out;
}

std::string FromCommandLine(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        uint32_t cp = c;
        size_t length = 1;
        if (c >= 0xC2 && c < 0xE0) {
            length = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c < 0xF0) {
            length = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c < 0xF5) {
            length = 4;
            cp = c & 0x07;
        } else if (c >= 0x80) {
            return FromDeltaBytes(text);  // not UTF-8: 8-bit text as it stands
        }
        if (i + length > text.size()) return FromDeltaBytes(text);
        for (size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return FromDeltaBytes(text);
            cp = (cp << 6) | (next & 0x3F);
        }
        if (const char* ascii = AsciiFor(cp)) {
            out += ascii;
        } else {
            out += cp <= 0xFF ? static_cast<char>(cp) : '?';
        }
        i += length;
    }
    return out;
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
    return out;
}

std::string CleanText(std::string_view text) {
    return Squeeze(RemoveMarks(RemoveComments(text)));
}

std::string WrapText(std::string_view text, size_t width, std::string_view lineEnd) {
    std::string out;
    std::string line;
    auto flush = [&] {
        out += line;
        out += lineEnd;
        line.clear();
    };
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == LineBreak) {
            flush();
            ++i;
            continue;
        }
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && text[end] != ' ' && text[end] != LineBreak)
            ++end;
        std::string word = ToKeyText(text.substr(i, end - i));
        if (!line.empty() && line.size() + 1 + word.size() > width) flush();
        if (!line.empty()) line += ' ';
        line += word;
        i = end;
    }
    if (!line.empty()) flush();
    return out;
}

}  // namespace vorn::delta
