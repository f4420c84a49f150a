#include "importers/common/KeyText.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include <cstdint>

namespace vorn::import {
namespace {

// Unicode code points of Windows-1252 bytes 0x80-0x9F; 0 where the byte is undefined.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The code point at `i` of UTF-8 text, advancing `i`; U+FFFD for a byte that starts no
// valid sequence, and then `valid` (when given) is set to false.
uint32_t NextCodePoint(std::string_view text, size_t& i, bool* valid = nullptr) {
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

// The Windows-1252 byte of a code point; 0 when it has none or is a control character.
unsigned char Windows1252Byte(uint32_t cp) {
    if ((cp >= 0x20 && cp < 0x7F) || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (int k = 0; k < 32; ++k) {
        if (kHigh[k] != 0 && kHigh[k] == cp) return static_cast<unsigned char>(0x80 + k);
    }
    return 0;
}

bool IsLetterByte(unsigned char b) {
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') ||
           (b >= 0xC0 && b != 0xD7 && b != 0xF7);
}

}  // namespace

bool IsKnownEncoding(const std::string& name) {
    return !name.empty() && QStringDecoder(name.c_str()).isValid();
}

bool IsValidUtf8(std::string_view bytes) {
    bool valid = true;
    for (size_t i = 0; i < bytes.size() && valid;)
        NextCodePoint(bytes, i, &valid);
    return valid;
}

std::string DecodeBytes(std::string_view bytes, const std::string& encoding, bool* readAsUtf8) {
    std::string name = encoding;
    if (name.empty()) name = IsValidUtf8(bytes) ? "UTF-8" : "windows-1252";
    if (readAsUtf8) *readAsUtf8 = name == "UTF-8";
    if (name == "UTF-8" && IsValidUtf8(bytes)) return std::string(bytes);
    QStringDecoder decoder(name.c_str());
    if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Utf8);
    QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return text.toStdString();
}

std::string KeyTextWriter::operator()(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        unsigned char b = Windows1252Byte(NextCodePoint(utf8, i));
        if (b == 0) {
            out += '?';
            ++unwritable_;
        } else {
            out += static_cast<char>(b);
        }
    }
    return out;
}

std::string ToWindows1252(std::string_view utf8) {
    KeyTextWriter writer;
    return writer(utf8);
}

std::string FromCommandLine(std::string_view text) {
    return DecodeBytes(text, "");
}

std::string CutUtf8(std::string_view text, size_t bytes) {
    if (text.size() <= bytes) return std::string(text);
    size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end));
}

std::vector<std::string> DosCodedPlaces(std::string_view bytes, size_t limit) {
    std::vector<std::string> places;
    int line = 1;
    for (size_t i = 0; i < bytes.size() && places.size() < limit; ++i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\n') ++line;
        if (b < 0x80 || b >= 0xA0 || i == 0 || i + 1 >= bytes.size()) continue;
        if (!IsLetterByte(static_cast<unsigned char>(bytes[i - 1])) ||
            !IsLetterByte(static_cast<unsigned char>(bytes[i + 1])))
            continue;
        size_t from = i, to = i + 1;
        while (from > 0 && IsLetterByte(static_cast<unsigned char>(bytes[from - 1])) &&
               i - from < 20)
            --from;
        while (to < bytes.size() && IsLetterByte(static_cast<unsigned char>(bytes[to])) &&
               to - i < 20)
            ++to;
        std::string word(bytes.substr(from, to - from));
        word[i - from] = '?';
        places.push_back("line " + std::to_string(line) + ": \"" +
                         DecodeBytes(word, "windows-1252") + "\"");
    }
    return places;
}

}  // namespace vorn::import
