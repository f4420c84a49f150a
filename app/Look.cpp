#include "app/Look.h"

#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

// Outside any namespace, as the resource system requires.
static void InitPictureResources() {
    Q_INIT_RESOURCE(pictures);
}

namespace vorn {

void LoadPictures() {
    static bool loaded = false;
    if (!loaded) InitPictureResources();
    loaded = true;
}

QFont SystemFont(int pixels) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixels);
    font.setBold(false);
    return font;
}

QFont SmallFont(int pixels) {
    QFont font = SystemFont(pixels);
    font.setBold(true);
    return font;
}

void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace vorn
