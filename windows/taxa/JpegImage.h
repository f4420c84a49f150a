#pragma once

#include <QImage>
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/key/JpegDecoder.h"

namespace vorn {

// One JPEG picture, decoded by libjpeg. Reading takes two steps, so that the caller can
// choose the size to decode at from the picture's size: Read* parses the header (Width,
// Height), Decode produces the pixels.
//
// Errors throw IoError naming the file: one it cannot read, one that is not a JPEG picture
// (the reason is the decoder's own text), one beyond the limits. Damaged picture data is
// not an error: the decoder fills in what it cannot read, Decode returns what it made of
// the file, and Warning() keeps the first of the decoder's complaints.
class TJPEGImage {
public:
    explicit TJPEGImage(JpegLimits limits = {});
    ~TJPEGImage();
    TJPEGImage(TJPEGImage&&) noexcept;
    TJPEGImage& operator=(TJPEGImage&&) noexcept;

    // Reads `fileName`, resolved through the file lookup as every file of a key is.
    void ReadFile(const std::string& fileName);
    // Reads a picture held in memory; `name` names it in errors.
    void ReadBytes(std::vector<unsigned char> bytes, const std::string& name);

    // The picture's size in pixels, from its header.
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Decodes at the smallest scale M/8 (M = 1 to 8) whose output is at least `area` in
    // both directions, full size when even that is smaller or `area` is empty. Once per
    // picture read.
    void Decode(QSize area = QSize());
    // The decoded pixels (null before Decode) and the scale they were decoded at, in eighths.
    const QImage& Picture() const { return picture_; }
    int ScaleEighths() const { return eighths_; }

    // The decoder's first warning about damaged data, or empty.
    const std::string& Warning() const { return warning_; }

    // The output size of a W x H picture decoded at M/8, as libjpeg computes it.
    static QSize ScaledSize(int width, int height, int eighths);

private:
    [[noreturn]] void Fail(const std::string& reason) const;

    JpegLimits limits_;
    std::unique_ptr<JpegDecoder> decoder_;
    std::string name_;
    int width_ = 0;
    int height_ = 0;
    int eighths_ = 8;
    QImage picture_;
    std::string warning_;
};

}  // namespace vorn
