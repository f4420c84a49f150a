#pragma once

#include <string>
#include <string_view>

namespace vorn {

// Texts in keys are 8-bit Windows text (Windows-1252): Latin-1 plus printable characters
// at 0x80-0x9F. Returns UTF-8. The five bytes that Windows-1252 leaves undefined map to
// the control characters of the same number, as Windows itself does.
std::string KeyTextToUtf8(std::string_view bytes);

// The text without blanks (0x20) at its start and end.
std::string_view TrimBlanks(std::string_view text);

}  // namespace vorn
