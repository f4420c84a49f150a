#include "core/key/JpegDecoder.h"

#include <cstdio>
#include <utility>

// after jpeglib.h, which it needs
#include <jerror.h>

#include "core/platform/IoError.h"

namespace vorn {
namespace {

JpegErrorManager& Errors(j_common_ptr info) {
    return *reinterpret_cast<JpegErrorManager*>(info->err);
}

void ErrorExit(j_common_ptr info) {
    JpegErrorManager& errors = Errors(info);
    int code = info->err->msg_code;
    if (code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE) {
        // Beyond the memory allowed; libjpeg's own words would speak of a backing store.
        std::snprintf(errors.message, sizeof errors.message,
                      "there is not enough memory to decode the picture");
    } else {
        (*info->err->format_message)(info, errors.message);
    }
    std::longjmp(errors.jump, 1);
}

void EmitMessage(j_common_ptr info, int level) {
    if (level >= 0) return;  // trace output, not a warning
    JpegErrorManager& errors = Errors(info);
    if (info->err->num_warnings++ == 0) (*info->err->format_message)(info, errors.warning);
}

void OutputMessage(j_common_ptr) {}

void CheckScans(j_common_ptr info) {
    JpegErrorManager& errors = Errors(info);
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (info->is_decompressor && decompress->input_scan_number > errors.maxScans) {
        std::snprintf(errors.message, sizeof errors.message,
                      "the picture is split into more than %d scans", errors.maxScans);
        std::longjmp(errors.jump, 1);
    }
}

bool ReadHeaderStep(JpegDecoder* d, long maxMemory) {
    if (setjmp(d->errors.jump)) return false;
    jpeg_create_decompress(&d->info);
    d->info.mem->max_memory_to_use = maxMemory;
    d->info.progress = &d->progress;
    jpeg_mem_src(&d->info, d->bytes.data(), static_cast<unsigned long>(d->bytes.size()));
    jpeg_read_header(&d->info, TRUE);
    return true;
}

}  // namespace

JpegDecoder::JpegDecoder(std::vector<unsigned char> picture, int maxScans)
    : bytes(std::move(picture)) {
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = ErrorExit;
    errors.pub.emit_message = EmitMessage;
    errors.pub.output_message = OutputMessage;
    errors.maxScans = maxScans;
    progress.progress_monitor = CheckScans;
}

JpegDecoder::~JpegDecoder() {
    jpeg_destroy_decompress(&info);
}

void ReadJpegHeader(JpegDecoder& decoder, const JpegLimits& limits, const std::string& name,
                    const std::string& action) {
    if (!ReadHeaderStep(&decoder, limits.MaxDecoderMemory)) {
        throw IoError(name, action, decoder.errors.message);
    }
    int64_t width = decoder.info.image_width, height = decoder.info.image_height;
    if (width * height > limits.MaxPixels) {
        throw IoError(name, action,
                      "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels, more than the " + std::to_string(limits.MaxPixels / 1'000'000) +
                          " megapixels that can be shown");
    }
}

JpegSize ReadJpegSize(std::string_view bytes, const std::string& name, const JpegLimits& limits) {
    JpegDecoder decoder(std::vector<unsigned char>(bytes.begin(), bytes.end()), limits.MaxScans);
    ReadJpegHeader(decoder, limits, name, "read");
    return {static_cast<int>(decoder.info.image_width),
            static_cast<int>(decoder.info.image_height)};
}

}  // namespace vorn
