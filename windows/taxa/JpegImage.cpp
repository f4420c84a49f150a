#include "windows/taxa/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <utility>

#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"
#include "core/platform/WholeFile.h"

namespace vorn {
namespace {

// The steps that call into libjpeg. Each returns false when the decoder gave up, with its
// text in the error manager; nothing that needs a destructor lives inside them, since a
// long jump leaves them without one.

bool ChooseScaleStep(j_decompress_ptr info, JpegErrorManager* errors, J_COLOR_SPACE out,
                     JDIMENSION wantWidth, JDIMENSION wantHeight) {
    if (setjmp(errors->jump)) return false;
    info->out_color_space = out;
    info->scale_denom = 8;
    for (unsigned eighths = 1; eighths <= 8; ++eighths) {
        info->scale_num = eighths;
        jpeg_calc_output_dimensions(info);
        if (info->output_width >= wantWidth && info->output_height >= wantHeight) break;
    }
    return true;
}

bool ReadRowsStep(j_decompress_ptr info, JpegErrorManager* errors, JSAMPROW* rows,
                  JDIMENSION count) {
    if (setjmp(errors->jump)) return false;
    jpeg_start_decompress(info);
    while (info->output_scanline < count) {
        JDIMENSION done = info->output_scanline;
        if (jpeg_read_scanlines(info, rows + done, count - done) == 0) break;
    }
    return true;
}

// CMYK as Adobe writes it (inverted) or plain, to RGB in place; both take 4 bytes a pixel.
void CmykToRgb(QImage& picture, bool inverted) {
    for (int y = 0; y < picture.height(); ++y) {
        auto* pixel = reinterpret_cast<unsigned char*>(picture.scanLine(y));
        auto* out = reinterpret_cast<QRgb*>(pixel);
        for (int x = 0; x < picture.width(); ++x, pixel += 4) {
            int c = pixel[0], m = pixel[1], yellow = pixel[2], k = pixel[3];
            if (!inverted) c = 255 - c, m = 255 - m, yellow = 255 - yellow, k = 255 - k;
            out[x] = qRgb(c * k / 255, m * k / 255, yellow * k / 255);
        }
    }
}

}  // namespace

TJPEGImage::TJPEGImage(JpegLimits limits) : limits_(limits) {}
TJPEGImage::~TJPEGImage() = default;
TJPEGImage::TJPEGImage(TJPEGImage&&) noexcept = default;
TJPEGImage& TJPEGImage::operator=(TJPEGImage&&) noexcept = default;

void TJPEGImage::Fail(const std::string& reason) const {
    throw IoError(name_, "show", reason);
}

void TJPEGImage::ReadFile(const std::string& fileName) {
    FileBytes file = ReadWholeFile(fileName, limits_.MaxFileBytes);
    if (file.More) {
        throw IoError(fileName, "show",
                      "the file is larger than " + std::to_string(limits_.MaxFileBytes >> 20) +
                          " MB, too large for a picture");
    }
    ReadBytes(std::vector<unsigned char>(file.Bytes.begin(), file.Bytes.end()), fileName);
}

void TJPEGImage::ReadBytes(std::vector<unsigned char> bytes, const std::string& name) {
    decoder_.reset();
    name_ = name;
    width_ = height_ = 0;
    eighths_ = 8;
    picture_ = QImage();
    warning_.clear();

    auto decoder = std::make_unique<JpegDecoder>(std::move(bytes), limits_.MaxScans);
    ReadJpegHeader(*decoder, limits_, name, "show");
    width_ = static_cast<int>(decoder->info.image_width);
    height_ = static_cast<int>(decoder->info.image_height);
    warning_ = decoder->errors.warning;
    decoder_ = std::move(decoder);
}

QSize TJPEGImage::ScaledSize(int width, int height, int eighths) {
    return QSize((width * eighths + 7) / 8, (height * eighths + 7) / 8);
}

void TJPEGImage::Decode(QSize area) {
    if (!decoder_) Fail("the picture has not been read");
    JpegDecoder& d = *decoder_;
    J_COLOR_SPACE source = d.info.jpeg_color_space;
    bool cmyk = source == JCS_CMYK || source == JCS_YCCK;
    // Straight into the layout of QImage::Format_RGB32 (0xffRRGGBB in native byte order).
    J_COLOR_SPACE out =
        cmyk ? JCS_CMYK
             : (QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB);
    bool full = area.isEmpty();
    auto wantWidth = static_cast<JDIMENSION>(full ? width_ : area.width());
    auto wantHeight = static_cast<JDIMENSION>(full ? height_ : area.height());
    if (!ChooseScaleStep(&d.info, &d.errors, out, wantWidth, wantHeight)) Fail(d.errors.message);

    QImage picture(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height),
                   QImage::Format_RGB32);
    if (picture.isNull()) Fail("there is not enough memory for the picture");
    std::vector<JSAMPROW> rows(static_cast<size_t>(picture.height()));
    for (int y = 0; y < picture.height(); ++y)
        rows[static_cast<size_t>(y)] = picture.scanLine(y);
    if (!ReadRowsStep(&d.info, &d.errors, rows.data(), d.info.output_height)) {
        Fail(d.errors.message);
    }
    if (cmyk) CmykToRgb(picture, d.info.saw_Adobe_marker);

    eighths_ = static_cast<int>(d.info.scale_num);
    warning_ = d.errors.warning;
    picture_ = std::move(picture);
    decoder_.reset();  // the decoder's memory and the file's bytes are no longer needed
}

}  // namespace vorn
