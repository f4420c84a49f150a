#include "importers/common/KeyText.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include <cstdint>

#include "core/platform/Text.h"

namespace vorn::import {
namespace {

// The Windows-1252 byte of a code point; 0 when it has none or is a control character.
unsigned char Windows1252Byte(uint32_t cp) {
    if ((cp >= 0x20 && cp < 0x7F) || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    // The printable characters at 0x80-0x9F all lie above U+00FF.
    for (unsigned k = 0x80; k < 0xA0 && cp > 0xFF; ++k) {
        if (FromWindows1252(static_cast<unsigned char>(k)) == cp)
            return static_cast<unsigned char>(k);
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

std::string DecodeBytes(std::string_view bytes, const std::string& encoding, bool* readAsUtf8) {
    std::string name = encoding;
    if (name.empty()) name = IsUtf8(bytes) ? "UTF-8" : "windows-1252";
    if (readAsUtf8) *readAsUtf8 = name == "UTF-8";
    if (name == "UTF-8" && IsUtf8(bytes)) return std::string(bytes);
    QStringDecoder decoder(name.c_str());
    if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Utf8);
    QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return text.toStdString();
}

std::string KeyTextWriter::operator()(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        unsigned char b = Windows1252Byte(NextUtf8CodePoint(utf8, i));
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
