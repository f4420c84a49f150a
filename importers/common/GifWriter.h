#pragma once

#include <string>

class QImage;

namespace vorn::import {

// The GIF file of a picture: Qt reduces it to at most 256 colours, dithering where it
// has more (a transparent picture is laid on white first), and giflib writes it. Empty
// when it cannot be written: a side longer than a GIF's 65,535 pixels, or a null image.
std::string GifBytes(const QImage& image);

}  // namespace vorn::import
