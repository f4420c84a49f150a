#include "platform/Text.h"

#include <cstdint>

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

std::string_view TrimBlanks(std::string_view text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

}  // namespace vorn
