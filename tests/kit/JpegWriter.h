#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::testing {

// Encodes pixels as a baseline JPEG with libjpeg, for tests and benchmarks that need
// pictures of their own. `components`: 1 grey, 3 RGB (stored as YCbCr 4:2:0), 4 CMYK as
// Adobe writes it (inverted: 255 is no ink). Pixels are row by row, components interleaved.
std::string EncodeJpeg(int width, int height, int components, const std::vector<uint8_t>& pixels,
                       int quality = 90);

}  // namespace vorn::testing
