// The JPEG loader of the Image window, fed arbitrary bytes as a picture file's content.
// Whatever the bytes, the loader either refuses them with an IoError or yields a picture
// whose size follows from its header (the same the core's header reader finds) and the
// scale it was decoded at; every pixel is read so that the sanitizers see any that were
// left unwritten.
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/key/JpegDecoder.h"
#include "core/platform/IoError.h"
#include "fuzz/Check.h"
#include "windows/taxa/JpegImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Small enough limits that one input never takes long.
    vorn::JpegLimits limits;
    limits.MaxFileBytes = 1 << 20;
    limits.MaxPixels = 1 << 22;
    limits.MaxDecoderMemory = 256L << 20;
    limits.MaxScans = 100;
    if (size > limits.MaxFileBytes) return 0;

    // The core reads the same header for a report's thumbnails: it refuses what the window
    // refuses, and finds the same size.
    std::optional<vorn::JpegSize> header;
    try {
        header = vorn::ReadJpegSize(std::string_view(reinterpret_cast<const char*>(data), size),
                                    "FUZZ.JPG", limits);
    } catch (const vorn::IoError&) {
    }
    vorn::TJPEGImage picture(limits);
    try {
        picture.ReadBytes(std::vector<unsigned char>(data, data + size), "FUZZ.JPG");
    } catch (const vorn::IoError&) {
        FUZZ_CHECK(!header, "the core refuses a header the window refuses");
        return 0;
    }
    const int width = picture.Width(), height = picture.Height();
    FUZZ_CHECK(width >= 1 && height >= 1 && int64_t{width} * height <= limits.MaxPixels,
               "a picture read has a size within the limits");
    FUZZ_CHECK(header && header->Width == width && header->Height == height,
               "the core reads the header's size as the window does");

    // Every scale in turn, chosen by the input's length; the area asked for is the output
    // of that scale, so the scale chosen is that one or a smaller one giving the same size.
    const int eighths = static_cast<int>(size % 8) + 1;
    const QSize area = vorn::TJPEGImage::ScaledSize(width, height, eighths);
    try {
        picture.Decode(area);
    } catch (const vorn::IoError&) {
        return 0;
    }
    const QImage& image = picture.Picture();
    FUZZ_CHECK(picture.ScaleEighths() >= 1 && picture.ScaleEighths() <= eighths,
               "the scale is the smallest that covers the area");
    FUZZ_CHECK(image.size() == vorn::TJPEGImage::ScaledSize(width, height, picture.ScaleEighths()),
               "the picture has the header's size at its scale");
    FUZZ_CHECK(image.width() >= area.width() && image.height() >= area.height(),
               "the picture covers the area asked for");

    uint32_t sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            sum += row[x];
    }
    volatile uint32_t sink = sum;
    (void)sink;
    return 0;
}
