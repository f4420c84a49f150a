#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// After <cstdio> and <cstddef>: jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace vorn {

// What a picture may cost before it is refused. Every check is made before the memory it
// guards is asked for: the file's size before it is read, the pixel count from the header
// before anything is decoded.
struct JpegLimits {
    size_t MaxFileBytes = size_t{128} << 20;
    int64_t MaxPixels = 100'000'000;  // 100 megapixels
    // The decoder's own working memory (a progressive picture holds all its coefficients).
    long MaxDecoderMemory = 1L << 30;
    // A progressive file may declare scan after scan of nothing; each one costs a pass.
    int MaxScans = 500;
};

// libjpeg's own error manager prints its message and calls exit(). This one keeps the
// decoder's text and jumps back to the step that called into libjpeg; warnings about
// damaged data are counted and the first one kept.
struct JpegErrorManager {
    jpeg_error_mgr pub;  // first, so that libjpeg's pointer to it is a pointer to this
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    char warning[JMSG_LENGTH_MAX];
    int maxScans;
};

// libjpeg's decompressor over one picture held in memory, with the error manager above and
// a progress monitor that stops a file of more than maxScans scans. Every JPEG picture the
// program reads goes through one: the core reads headers (a picture's size), the Image
// window decodes pixels.
//
// A step that calls into libjpeg sets `errors.jump` with setjmp first and returns false
// when it comes back through it; nothing that needs a destructor may live inside such a
// step, since the long jump leaves it without one.
struct JpegDecoder {
    jpeg_decompress_struct info{};
    JpegErrorManager errors{};
    jpeg_progress_mgr progress{};
    std::vector<unsigned char> bytes;

    explicit JpegDecoder(std::vector<unsigned char> picture, int maxScans);
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;
};

// Reads the header of the decoder's bytes. Throws IoError(name, action, reason) when
// libjpeg refuses them (the reason is the decoder's own text) or the picture has more
// pixels than `limits` allow; the decoder is then of no further use.
void ReadJpegHeader(JpegDecoder& decoder, const JpegLimits& limits, const std::string& name,
                    const std::string& action);

// A picture's size in pixels, from its header.
struct JpegSize {
    int Width = 0;
    int Height = 0;
};

// The size of the JPEG picture `bytes` (ReadJpegHeader, action "read"): no pixel is
// decoded.
JpegSize ReadJpegSize(std::string_view bytes, const std::string& name,
                      const JpegLimits& limits = {});

}  // namespace vorn
