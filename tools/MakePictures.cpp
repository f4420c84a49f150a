// Draws the pictures of the splash window and the About box into frame/pictures/. They are
// committed; run this only to change them:  build/tools/vorn-make-pictures frame/pictures
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>
#include <cstdio>

namespace {

constexpr int kScale = 2;  // drawn at twice the size shown, for high-density screens

QImage Canvas(int width, int height, QColor background) {
    QImage image(width * kScale, height * kScale, QImage::Format_ARGB32);
    image.fill(background);
    return image;
}

void Logo(const QString& path) {
    QImage image = Canvas(107, 109, Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);
    QPointF centre(53.5, 54.5);
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
        double a = qDegreesToRadians(22.5 + 45.0 * i);
        octagon << centre + QPointF(50 * std::cos(a), 50 * std::sin(a));
    }
    p.setPen(QPen(QColor(20, 70, 30), 4));
    p.setBrush(QColor(225, 240, 215));
    p.drawPolygon(octagon);
    // Stem and two leaves.
    p.setPen(QPen(QColor(40, 110, 40), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(53.5, 56), QPointF(53.5, 96));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 140, 50));
    QPainterPath leaf;
    leaf.moveTo(53.5, 84);
    leaf.cubicTo(40, 70, 28, 78, 24, 86);
    leaf.cubicTo(34, 90, 45, 90, 53.5, 84);
    p.drawPath(leaf);
    p.drawPath(QTransform().translate(107, 0).scale(-1, 1).map(leaf));
    // Five petals round a centre.
    QPointF head(53.5, 40);
    p.setBrush(QColor(245, 200, 40));
    p.setPen(QPen(QColor(190, 130, 20), 1));
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(head);
        p.rotate(72.0 * i);
        p.drawEllipse(QRectF(-7, -24, 14, 22));
        p.restore();
    }
    p.setBrush(QColor(200, 90, 30));
    p.drawEllipse(head, 7, 7);
    p.end();
    image.save(path);
}

void Text(const QString& path, int width, int height, QColor background,
          const QList<std::pair<QString, QFont>>& lines) {
    QImage image = Canvas(width, height, background);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(kScale, kScale);
    p.setPen(QColor(20, 50, 30));
    int total = 0;
    for (const auto& [text, font] : lines)
        total += QFontMetrics(font).height();
    int top = (height - total) / 2;
    for (const auto& [text, font] : lines) {
        p.setFont(font);
        int h = QFontMetrics(font).height();
        p.drawText(QRect(0, top, width, h), Qt::AlignCenter, text);
        top += h;
    }
    p.end();
    image.save(path);
}

QFont Font(int pixels, bool bold, bool italic = false) {
    QFont font("DejaVu Sans");
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorn-make-pictures DIRECTORY\n");
        return 2;
    }
    QString dir = argv[1];
    Logo(dir + "/logo.png");
    Text(dir + "/name.png", 120, 60, Qt::white,
         {{"VORN", Font(30, true)}, {"Version " VORN_VERSION, Font(10, false)}});
    Text(dir + "/notice.png", 127, 19, QColor(192, 192, 192),
         {{"Published by the VORN project", Font(8, false, true)}});
    Text(dir + "/address.png", 448, 120, QColor(192, 192, 192),
         {{"Interactive identification keys", Font(14, true)},
          {"Written by the VORN project", Font(12, false)},
          {"Free software under the MIT licence", Font(12, false)},
          {"Published by the VORN project, 2026", Font(10, false, true)}});
    return 0;
}
