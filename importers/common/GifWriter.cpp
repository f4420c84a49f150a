#include "importers/common/GifWriter.h"

#include <gif_lib.h>

#include <QImage>
#include <QPainter>

#include <vector>

namespace vorn::import {
namespace {

constexpr int kMaxSide = 65535;

int Append(GifFileType* gif, const GifByteType* bytes, int count) {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
    return count;
}

}  // namespace

std::string GifBytes(const QImage& image) {
    if (image.isNull() || image.width() > kMaxSide || image.height() > kMaxSide) return {};
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
    }
    QImage indexed =
        flat.convertToFormat(QImage::Format_Indexed8, Qt::ColorOnly | Qt::DiffuseDither);
    QVector<QRgb> colours = indexed.colorTable();
    if (indexed.isNull() || colours.isEmpty() || colours.size() > 256) return {};

    // A GIF's colour map holds a power of two colours.
    int bits = 1;
    while ((1 << bits) < colours.size())
        ++bits;
    ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
    if (!map) return {};
    for (int c = 0; c < colours.size(); ++c)
        map->Colors[c] = {static_cast<GifByteType>(qRed(colours[c])),
                          static_cast<GifByteType>(qGreen(colours[c])),
                          static_cast<GifByteType>(qBlue(colours[c]))};

    std::string bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, Append, &error);
    if (!gif) {
        GifFreeMapObject(map);
        return {};
    }
    bool ok =
        EGifPutScreenDesc(gif, indexed.width(), indexed.height(), bits, 0, map) == GIF_OK &&
        EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
    std::vector<GifPixelType> row(static_cast<size_t>(indexed.width()));
    for (int y = 0; ok && y < indexed.height(); ++y) {
        const uchar* line = indexed.constScanLine(y);
        row.assign(line, line + indexed.width());
        ok = EGifPutLine(gif, row.data(), indexed.width()) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    return ok ? bytes : std::string();
}

}  // namespace vorn::import
