// Draws the pictures of the sample key into keys/: one per tree that has a picture name and
// one per index entry that has one, each a schematic drawing with its name, saved as JPEG
// under the name the image window looks for (the picture name in upper case + ".JPG").
// They are committed; run this only to change them:
//   QT_QPA_PLATFORM=offscreen build/tools/vorn-make-key-pictures keys
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
constexpr int kCaptionTop = 262;
constexpr int kQuality = 85;

const QColor kPaper(250, 248, 238);
const QColor kLeaf(104, 158, 70);
const QColor kLeafEdge(46, 94, 36);
const QColor kVein(196, 226, 160);
const QColor kWood(120, 84, 52);
const QColor kInk(40, 50, 40);

enum class Shape { Ovate, Obovate, Lanceolate, Round, Triangular };
enum class Margin { Entire, Toothed, Double, Spiny, Lobed, Wavy };

double Frac(double x) {
    return x - std::floor(x);
}

// Half the leaf's width at t (0 at the base, 1 at the tip), as a share of the widest.
double ShapeWidth(Shape shape, double t) {
    switch (shape) {
        case Shape::Ovate:
            return std::sin(M_PI * std::pow(t, 0.8));
        case Shape::Obovate:
            return std::sin(M_PI * std::pow(t, 1.5));
        case Shape::Lanceolate:
            return std::sin(M_PI * std::pow(t, 0.9));
        case Shape::Round:
            return std::sqrt(std::max(0.0, 1 - std::pow(2 * t - 1, 2))) * (0.75 + 0.25 * t);
        case Shape::Triangular:
            return std::min(1.0, t / 0.18) * std::pow(1 - t, 0.9) / std::pow(0.82, 0.9);
    }
    return 0;
}

// The edge's departure from the plain outline at t, in shares of the leaf's length.
double MarginOffset(Margin margin, double t, double width) {
    if (t < 0.04 || t > 0.97) return 0;
    switch (margin) {
        case Margin::Toothed:
            return 0.025 * Frac(t * 22);
        case Margin::Double:
            return 0.035 * Frac(t * 9) + 0.012 * Frac(t * 36);
        case Margin::Spiny:
            return 0.09 * std::pow(std::max(0.0, std::cos(2 * M_PI * t * 4.5)), 12) -
                   0.03 * (1 - std::abs(std::cos(2 * M_PI * t * 4.5)));
        case Margin::Lobed:
            return -width * (1 - std::pow(std::abs(std::sin(M_PI * t * 5.5)), 0.35)) * 0.6;
        case Margin::Wavy:
            return 0.02 * std::sin(2 * M_PI * t * 7);
        case Margin::Entire:
            break;
    }
    return 0;
}

// A simple leaf along +x from the base at (0, 0) to the tip at (length, 0).
QPainterPath LeafOutline(double length, double ratio, Shape shape, Margin margin) {
    constexpr int kSteps = 240;
    std::vector<QPointF> upper;
    for (int i = 0; i <= kSteps; ++i) {
        double t = double(i) / kSteps;
        double w = ratio * ShapeWidth(shape, t);
        w = std::max(0.0, w + MarginOffset(margin, t, w));
        upper.emplace_back(t * length, -w * length);
    }
    QPainterPath path(upper.front());
    for (const QPointF& p : upper)
        path.lineTo(p);
    for (auto p = upper.rbegin(); p != upper.rend(); ++p)
        path.lineTo(p->x(), -p->y());
    path.closeSubpath();
    return path;
}

QPen Pen(const QColor& colour, double width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A leaf with its stalk, midrib and side veins, its base at `base`, pointing at `angle`
// degrees (0 to the right, 90 down).
void DrawLeaf(QPainter& p, QPointF base, double angle, double length, double ratio, Shape shape,
              Margin margin, double stalk = 0, const QColor& fill = kLeaf) {
    p.save();
    p.translate(base);
    p.rotate(angle);
    if (stalk > 0) {
        p.setPen(Pen(kLeafEdge, 2.5));
        p.drawLine(QPointF(-stalk, 0), QPointF(0, 0));
    }
    p.setPen(Pen(kLeafEdge, 1.5));
    p.setBrush(fill);
    p.drawPath(LeafOutline(length, ratio, shape, margin));
    p.setPen(Pen(kVein, 1.2));
    p.drawLine(QPointF(0, 0), QPointF(length * 0.95, 0));
    for (int k = 1; k <= 6; ++k) {
        double t = k / 7.5;
        double w = ratio * ShapeWidth(shape, t + 0.08) * length * 0.8;
        for (int side : {-1, 1})
            p.drawLine(QPointF(t * length, 0), QPointF((t + 0.09) * length, side * w));
    }
    p.restore();
}

// A hand-shaped leaf with five pointed lobes, the stalk hanging from the notch below.
void DrawPalmateLeaf(QPainter& p, QPointF centre, double radius) {
    QPainterPath path;
    constexpr int kSteps = 400;
    for (int i = 0; i <= kSteps; ++i) {
        double a = -M_PI + 2 * M_PI * i / kSteps;  // 0 points up
        double lobe = std::pow(std::abs(std::cos(2.5 * a)), 2.2);
        double r = radius * (0.45 + 0.55 * lobe) + radius * 0.025 * std::sin(48 * a);
        QPointF point(centre.x() + r * std::sin(a), centre.y() - r * std::cos(a));
        if (i == 0) {
            path.moveTo(point);
        } else {
            path.lineTo(point);
        }
    }
    path.closeSubpath();
    p.setPen(Pen(kLeafEdge, 2.5));
    p.drawLine(centre, centre + QPointF(0, radius * 1.25));
    p.setPen(Pen(kLeafEdge, 1.5));
    p.setBrush(kLeaf);
    p.drawPath(path);
    p.setPen(Pen(kVein, 1.3));
    for (int k = -2; k <= 2; ++k) {
        double a = k * 2 * M_PI / 5;
        p.drawLine(centre,
                   centre + QPointF(radius * 0.9 * std::sin(a), -radius * 0.9 * std::cos(a)));
    }
}

// A pinnate leaf: pairs of leaflets on a stalk from `base` towards `angle`, and one at its end.
void DrawPinnateLeaf(QPainter& p, QPointF base, double angle, double length, int pairs,
                     double leaflet, Margin margin) {
    p.save();
    p.translate(base);
    p.rotate(angle);
    p.setPen(Pen(kLeafEdge, 2.5));
    p.drawLine(QPointF(0, 0), QPointF(length, 0));
    for (int i = 0; i < pairs; ++i) {
        double x = length * (0.22 + 0.78 * i / pairs);
        DrawLeaf(p, QPointF(x, 0), -62, leaflet, 0.26, Shape::Lanceolate, margin);
        DrawLeaf(p, QPointF(x, 0), 62, leaflet, 0.26, Shape::Lanceolate, margin);
    }
    DrawLeaf(p, QPointF(length, 0), 0, leaflet, 0.26, Shape::Lanceolate, margin);
    p.restore();
}

void DrawBerries(QPainter& p, const std::vector<QPointF>& at, double r, const QColor& colour) {
    p.setPen(Pen(colour.darker(160), 1.2));
    p.setBrush(colour);
    for (const QPointF& c : at) {
        p.drawEllipse(c, r, r);
        p.setBrush(colour.lighter(150));
        p.setPen(Qt::NoPen);
        p.drawEllipse(c + QPointF(-r * 0.35, -r * 0.35), r * 0.25, r * 0.25);
        p.setPen(Pen(colour.darker(160), 1.2));
        p.setBrush(colour);
    }
}

void DrawStalks(QPainter& p, QPointF from, const std::vector<QPointF>& to) {
    p.setPen(Pen(kLeafEdge, 1.5));
    for (const QPointF& t : to)
        p.drawLine(from, t);
}

void DrawAcorn(QPainter& p, QPointF top, double size) {
    p.setPen(Pen(QColor(110, 80, 30), 1.5));
    p.setBrush(QColor(196, 150, 70));
    p.drawEllipse(QRectF(top.x() - size * 0.32, top.y() + size * 0.15, size * 0.64, size));
    p.setBrush(QColor(140, 110, 60));
    QRectF cup(top.x() - size * 0.4, top.y(), size * 0.8, size * 0.55);
    p.drawChord(cup, 0, 180 * 16);
    p.setPen(Pen(QColor(90, 70, 40), 1));
    for (int i = 1; i < 6; ++i) {
        double x = cup.left() + cup.width() * i / 6;
        p.drawLine(QPointF(x - 3, cup.top() + 6), QPointF(x + 3, cup.center().y()));
    }
}

void DrawHusk(QPainter& p, QPointF centre, double r, int spines) {
    p.setPen(Pen(QColor(120, 100, 40), 1.2));
    for (int i = 0; i < spines; ++i) {
        double a = 2 * M_PI * i / spines;
        p.drawLine(centre + QPointF(r * std::cos(a), r * std::sin(a)),
                   centre + QPointF(1.45 * r * std::cos(a), 1.45 * r * std::sin(a)));
    }
    p.setBrush(QColor(170, 150, 70));
    p.drawEllipse(centre, r, r);
}

void DrawWingedSeed(QPainter& p, QPointF seed, double angle, double length, double width) {
    p.save();
    p.translate(seed);
    p.rotate(angle);
    QPainterPath wing;
    wing.moveTo(0, 0);
    wing.cubicTo(length * 0.3, -width, length * 0.9, -width * 1.1, length, -width * 0.2);
    wing.cubicTo(length * 0.8, width * 0.35, length * 0.3, width * 0.4, 0, 0);
    p.setPen(Pen(QColor(130, 110, 60), 1.2));
    p.setBrush(QColor(214, 196, 130, 220));
    p.drawPath(wing);
    p.setBrush(QColor(150, 110, 60));
    p.drawEllipse(QPointF(0, 0), width * 0.45, width * 0.35);
    p.restore();
}

void DrawCone(QPainter& p, QPointF top, double length, double width, bool erect) {
    p.save();
    p.translate(top);
    if (erect) p.rotate(180);
    p.setPen(Pen(QColor(90, 60, 30), 1.2));
    p.setBrush(QColor(150, 100, 55));
    p.drawEllipse(QRectF(-width / 2, 0, width, length));
    p.setBrush(QColor(175, 125, 70));
    int rows = int(length / 12);
    for (int r = 1; r < rows; ++r) {
        double y = length * r / rows;
        double half = width / 2 * std::sin(M_PI * y / length);
        for (double x = -half + 6; x < half - 2; x += 10)
            p.drawChord(QRectF(x - 5, y - 5, 10, 10), 180 * 16, 180 * 16);
    }
    p.restore();
}

// A twig with flat needles along both sides.
void DrawNeedleTwig(QPainter& p, QPointF from, QPointF to, double needle, const QColor& colour) {
    p.setPen(Pen(kWood, 3));
    p.drawLine(from, to);
    QLineF stem(from, to);
    int count = int(stem.length() / 7);
    p.setPen(Pen(colour.darker(150), 1));
    p.setBrush(colour);
    for (int i = 1; i < count; ++i) {
        QPointF at = stem.pointAt(double(i) / count);
        for (int side : {-1, 1}) {
            p.save();
            p.translate(at);
            p.rotate(-stem.angle() + side * 70);
            p.drawRoundedRect(QRectF(0, -2, needle, 4), 2, 2);
            p.restore();
        }
    }
}

void DrawCatkin(QPainter& p, QPointF top, double length, const QColor& colour) {
    p.setPen(Pen(colour.darker(150), 1));
    p.setBrush(colour);
    for (int i = 0; i < int(length / 5); ++i)
        p.drawEllipse(QPointF(top.x() + std::sin(i * 0.5) * 1.5, top.y() + i * 5), 4, 3.2);
}

void DrawBarkSwatch(QPainter& p, const QRectF& r, int kind) {
    p.save();
    p.setClipRect(r);
    const QColor bases[] = {QColor(150, 152, 150), QColor(236, 234, 226), QColor(110, 96, 80),
                            QColor(120, 110, 100), QColor(170, 92, 60),   QColor(120, 60, 56)};
    p.fillRect(r, bases[kind]);
    p.setPen(Pen(bases[kind].darker(160), 2));
    switch (kind) {
        case 0:  // smooth: a few faint streaks
            for (int i = 1; i < 4; ++i)
                p.drawLine(QPointF(r.left() + i * r.width() / 4, r.top() + 8),
                           QPointF(r.left() + i * r.width() / 4 + 2, r.bottom() - 8));
            break;
        case 1:  // white with black marks
            p.setBrush(QColor(40, 40, 40));
            p.setPen(Qt::NoPen);
            for (int i = 0; i < 5; ++i)
                p.drawRect(
                    QRectF(r.left() + (i * 17) % int(r.width() - 20), r.top() + 8 + i * 13, 18, 3));
            break;
        case 2:  // deep vertical ridges
            for (double x = r.left() + 5; x < r.right(); x += 9) {
                QPainterPath ridge(QPointF(x, r.top()));
                for (double y = r.top(); y <= r.bottom(); y += 12)
                    ridge.lineTo(x + ((int(y) / 12) % 2 ? 4 : -4), y);
                p.drawPath(ridge);
            }
            break;
        case 3:  // plates
        case 4:
            for (double y = r.top(); y < r.bottom(); y += 16)
                for (double x = r.left() - (int(y) % 32 ? 10 : 0); x < r.right(); x += 22)
                    p.drawRoundedRect(QRectF(x, y, 20, 14), 4, 4);
            break;
        case 5:  // horizontal bands of lenticels
            for (double y = r.top() + 8; y < r.bottom(); y += 12)
                p.drawLine(QPointF(r.left() + 6, y), QPointF(r.right() - 6, y));
            break;
    }
    p.restore();
    p.setPen(Pen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

QFont Font(int pixels, bool italic = false, bool bold = false) {
    QFont font("DejaVu Sans");
    font.setPixelSize(pixels);
    font.setItalic(italic);
    font.setBold(bold);
    return font;
}

void Label(QPainter& p, QPointF centre, const QString& text) {
    p.setFont(Font(12));
    p.setPen(kInk);
    p.drawText(QRectF(centre.x() - 60, centre.y() - 9, 120, 18), Qt::AlignCenter, text);
}

using Drawing = std::function<void(QPainter&)>;

// The picture: the drawing above a caption, the scientific name in italics.
QImage Picture(const QString& name, const QString& detail, const Drawing& draw) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kPaper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    draw(p);
    p.setPen(Pen(QColor(200, 196, 180), 1));
    p.drawLine(QPointF(16, kCaptionTop), QPointF(kWidth - 16, kCaptionTop));
    QFont nameFont = Font(18, !detail.isEmpty(), detail.isEmpty());
    QFont detailFont = Font(15);
    int nameWidth = QFontMetrics(nameFont).horizontalAdvance(name);
    int detailWidth =
        detail.isEmpty() ? 0 : QFontMetrics(detailFont).horizontalAdvance("   " + detail);
    int left = (kWidth - nameWidth - detailWidth) / 2;
    QRect line(0, kCaptionTop + 4, kWidth, kHeight - kCaptionTop - 8);
    p.setPen(kInk);
    p.setFont(nameFont);
    p.drawText(line.adjusted(left, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, name);
    if (!detail.isEmpty()) {
        p.setFont(detailFont);
        p.drawText(line.adjusted(left + nameWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   "   " + detail);
    }
    p.end();
    return image;
}

struct Entry {
    const char* file;  // the picture name in upper case
    const char* name;
    const char* detail;
    Drawing draw;
};

std::vector<Entry> Pictures() {
    return {
        {"QROB", "Quercus robur", "English oak",
         [](QPainter& p) {
             DrawLeaf(p, {60, 150}, -18, 200, 0.28, Shape::Obovate, Margin::Lobed, 8);
             DrawStalks(p, {300, 70}, {{300, 150}, {330, 160}});
             DrawAcorn(p, {300, 150}, 44);
             DrawAcorn(p, {332, 158}, 40);
         }},
        {"FAGUS", "Fagus sylvatica", "Beech",
         [](QPainter& p) {
             DrawLeaf(p, {50, 160}, -12, 180, 0.3, Shape::Ovate, Margin::Wavy, 14);
             DrawHusk(p, {310, 120}, 26, 40);
             p.setPen(Pen(QColor(90, 60, 30), 1.2));
             p.setBrush(QColor(150, 100, 50));
             p.drawPolygon(QPolygonF({{300, 175}, {330, 175}, {315, 215}}));
         }},
        {"BETULA", "Betula pendula", "Silver birch",
         [](QPainter& p) {
             DrawBarkSwatch(p, QRectF(24, 30, 70, 210), 1);
             DrawLeaf(p, {140, 120}, -10, 120, 0.42, Shape::Triangular, Margin::Double, 20);
             DrawLeaf(p, {180, 200}, 20, 100, 0.42, Shape::Triangular, Margin::Double, 16);
             DrawCatkin(p, {330, 40}, 110, QColor(150, 130, 70));
         }},
        {"CORYL", "Corylus avellana", "Hazel",
         [](QPainter& p) {
             DrawLeaf(p, {50, 140}, -8, 170, 0.45, Shape::Round, Margin::Double, 10);
             DrawLeaf(p, {315, 182}, -55, 58, 0.45, Shape::Ovate, Margin::Double);
             DrawLeaf(p, {315, 182}, -125, 58, 0.45, Shape::Ovate, Margin::Double);
             p.setPen(Pen(QColor(110, 80, 30), 1.5));
             p.setBrush(QColor(190, 140, 70));
             p.drawEllipse(QPointF(315, 150), 22, 26);
             DrawCatkin(p, {350, 40}, 70, QColor(220, 200, 90));
         }},
        {"ACERPS", "Acer pseudoplatanus", "Sycamore",
         [](QPainter& p) {
             DrawPalmateLeaf(p, {140, 120}, 95);
             DrawWingedSeed(p, {310, 170}, -135, 80, 20);
             DrawWingedSeed(p, {318, 170}, -45, 80, 20);
         }},
        {"FRAX", "Fraxinus excelsior", "Ash",
         [](QPainter& p) {
             DrawPinnateLeaf(p, {30, 200}, -28, 230, 4, 60, Margin::Toothed);
             DrawWingedSeed(p, {320, 80}, 100, 90, 14);
             DrawWingedSeed(p, {340, 80}, 80, 90, 14);
         }},
        {"ASPEN", "Populus tremula", "Aspen",
         [](QPainter& p) {
             DrawLeaf(p, {110, 150}, -20, 140, 0.5, Shape::Round, Margin::Wavy, 60);
             DrawCatkin(p, {310, 40}, 150, QColor(150, 120, 110));
         }},
        {"ROWAN", "Sorbus aucuparia", "Rowan",
         [](QPainter& p) {
             DrawPinnateLeaf(p, {30, 210}, -30, 220, 5, 48, Margin::Toothed);
             std::vector<QPointF> berries = {{300, 150}, {320, 145}, {312, 165}, {332, 162},
                                             {292, 170}, {340, 142}, {325, 180}};
             DrawStalks(p, {320, 90}, berries);
             DrawBerries(p, berries, 9, QColor(226, 70, 30));
         }},
        {"CHERRY", "Prunus avium", "Wild cherry",
         [](QPainter& p) {
             DrawLeaf(p, {40, 170}, -15, 200, 0.26, Shape::Obovate, Margin::Toothed, 24);
             std::vector<QPointF> cherries = {{300, 190}, {338, 182}};
             DrawStalks(p, {322, 80}, cherries);
             DrawBerries(p, cherries, 16, QColor(170, 20, 40));
         }},
        {"HOLLY", "Ilex aquifolium", "Holly",
         [](QPainter& p) {
             DrawLeaf(p, {50, 130}, -10, 170, 0.3, Shape::Ovate, Margin::Spiny, 8,
                      QColor(50, 110, 50));
             DrawLeaf(p, {70, 190}, 10, 150, 0.3, Shape::Ovate, Margin::Spiny, 8,
                      QColor(60, 120, 55));
             DrawBerries(p, {{300, 150}, {322, 142}, {314, 166}, {336, 164}}, 11,
                         QColor(210, 30, 30));
         }},
        {"TAXUS", "Taxus baccata", "Yew",
         [](QPainter& p) {
             DrawNeedleTwig(p, {30, 200}, {260, 80}, 26, QColor(40, 90, 45));
             p.setPen(Pen(QColor(150, 20, 30), 1.5));
             p.setBrush(QColor(215, 40, 50));
             p.drawEllipse(QPointF(320, 160), 20, 22);
             p.setBrush(QColor(50, 60, 40));
             p.drawEllipse(QPointF(320, 154), 8, 9);
         }},
        {"ABIES", "Abies alba", "Silver fir",
         [](QPainter& p) {
             DrawNeedleTwig(p, {20, 220}, {220, 150}, 24, QColor(50, 100, 60));
             DrawNeedleTwig(p, {260, 240}, {300, 200}, 20, QColor(50, 100, 60));
             DrawCone(p, {300, 190}, 130, 42, true);
         }},
        {"SHAPES", "Leaf shapes", "",
         [](QPainter& p) {
             struct S {
                 Shape shape;
                 double ratio;
                 const char* name;
             };
             const S shapes[] = {{Shape::Ovate, 0.22, "ovate"},
                                 {Shape::Round, 0.26, "rounded"},
                                 {Shape::Lanceolate, 0.1, "lanceolate"},
                                 {Shape::Triangular, 0.22, "triangular"},
                                 {Shape::Obovate, 0.22, "obovate"}};
             for (int i = 0; i < 5; ++i) {
                 double x = 44 + i * 78;
                 DrawLeaf(p, {x, 225}, -90, 150, shapes[i].ratio, shapes[i].shape, Margin::Entire,
                          12);
                 Label(p, {x, 248}, shapes[i].name);
             }
         }},
        {"MARGINS", "Leaf margins", "",
         [](QPainter& p) {
             const Margin margins[] = {Margin::Entire, Margin::Toothed, Margin::Double,
                                       Margin::Spiny};
             const char* names[] = {"entire", "toothed", "doubly toothed", "spiny"};
             for (int i = 0; i < 4; ++i) {
                 double x = 58 + i * 95;
                 DrawLeaf(p, {x, 225}, -90, 180, 0.19, Shape::Ovate, margins[i], 10);
                 Label(p, {x, 248}, names[i]);
             }
         }},
        {"BARK", "Bark", "",
         [](QPainter& p) {
             const char* names[] = {"smooth", "white, peeling", "furrowed",
                                    "scaly",  "reddish",        "banded"};
             for (int i = 0; i < 6; ++i) {
                 QRectF r(22 + (i % 3) * 125, 14 + (i / 3) * 122, 106, 88);
                 DrawBarkSwatch(p, r, i);
                 Label(p, {r.center().x(), r.bottom() + 12}, names[i]);
             }
         }},
        {"FRUITS", "Kinds of fruit", "",
         [](QPainter& p) {
             DrawAcorn(p, {50, 40}, 50);
             Label(p, {50, 118}, "acorn");
             DrawHusk(p, {150, 70}, 24, 36);
             Label(p, {150, 118}, "spiny husk");
             DrawWingedSeed(p, {230, 70}, -20, 80, 18);
             Label(p, {265, 118}, "winged");
             DrawBerries(p, {{350, 60}, {366, 74}, {344, 82}}, 11, QColor(220, 60, 30));
             Label(p, {352, 118}, "fleshy");
             DrawCone(p, {60, 140}, 90, 36, false);
             Label(p, {60, 245}, "cone");
             p.setPen(Pen(QColor(150, 20, 30), 1.5));
             p.setBrush(QColor(215, 40, 50));
             p.drawEllipse(QPointF(160, 190), 18, 20);
             p.setBrush(QColor(50, 60, 40));
             p.drawEllipse(QPointF(160, 185), 7, 8);
             Label(p, {160, 245}, "seed in red cup");
             p.setPen(Pen(QColor(100, 100, 60), 1.2));
             p.setBrush(QColor(160, 170, 90));
             p.drawEllipse(QRectF(248, 160, 20, 44));
             p.setPen(Pen(QColor(200, 200, 200), 1));
             for (int i = 0; i < 6; ++i)
                 p.drawLine(QPointF(258, 160), QPointF(240 + i * 7, 140));
             Label(p, {258, 245}, "capsule");
             DrawHusk(p, {352, 190}, 26, 14);
             p.setBrush(QColor(120, 60, 30));
             p.drawEllipse(QPointF(352, 190), 12, 12);
             Label(p, {352, 245}, "conker");
         }},
        {"WINGS", "Fruit wings", "",
         [](QPainter& p) {
             DrawWingedSeed(p, {60, 100}, -150, 60, 16);
             DrawWingedSeed(p, {66, 100}, -30, 60, 16);
             Label(p, {64, 150}, "paired");
             DrawWingedSeed(p, {160, 50}, 90, 80, 13);
             Label(p, {164, 150}, "single");
             p.setPen(Pen(QColor(130, 110, 60), 1.2));
             p.setBrush(QColor(214, 196, 130, 220));
             p.drawEllipse(QPointF(270, 90), 30, 26);
             p.setBrush(QColor(150, 110, 60));
             p.drawEllipse(QPointF(270, 88), 7, 6);
             Label(p, {270, 150}, "round");
             for (int k = -1; k <= 1; ++k)
                 DrawLeaf(p, {120, 240}, -90 + k * 32, 60, 0.18, Shape::Lanceolate, Margin::Entire,
                          0, QColor(190, 200, 120));
             p.setBrush(QColor(150, 110, 60));
             p.drawEllipse(QPointF(120, 242), 6, 6);
             Label(p, {120, 252}, "three-lobed bract");
             p.setPen(Pen(QColor(130, 110, 60), 1));
             p.setBrush(QColor(214, 196, 130, 220));
             p.drawEllipse(QPointF(280, 210), 20, 10);
             p.setBrush(QColor(150, 110, 60));
             p.drawEllipse(QPointF(280, 210), 5, 7);
             Label(p, {280, 252}, "tiny, two-sided");
         }},
        {"CONES", "Cones", "",
         [](QPainter& p) {
             p.setPen(Pen(kWood, 3));
             p.drawLine(QPointF(30, 40), QPointF(120, 40));
             DrawCone(p, {80, 40}, 150, 42, false);
             Label(p, {80, 222}, "hanging");
             p.drawLine(QPointF(150, 200), QPointF(250, 200));
             DrawCone(p, {200, 196}, 130, 44, true);
             Label(p, {200, 222}, "erect");
             p.setPen(Pen(kWood, 3));
             p.drawLine(QPointF(280, 200), QPointF(380, 120));
             DrawCone(p, {310, 172}, 36, 24, true);
             DrawCone(p, {350, 140}, 36, 24, true);
             Label(p, {330, 222}, "small, staying");
         }},
    };
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    int failures = 0;
    for (const Entry& entry : Pictures()) {
        QString path = dir.filePath(QString(entry.file) + ".JPG");
        QImageWriter writer(path, "jpeg");
        writer.setQuality(kQuality);
        writer.setOptimizedWrite(true);
        if (!writer.write(Picture(entry.name, entry.detail, entry.draw))) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
            ++failures;
            continue;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return failures ? 1 : 0;
}
