#include "core/key/PictureNames.h"

#include <cstdio>

namespace vorn {

std::string JpegFileName(std::string_view imageName) {
    std::string name(imageName);
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return name + ".JPG";
}

std::string GifFileName(const std::string& imageName, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", number);
    return imageName + digits + ".GIF";
}

}  // namespace vorn
