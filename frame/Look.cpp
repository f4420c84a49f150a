#include "frame/Look.h"

#include <QFontDatabase>
#include <QPalette>
#include <QPushButton>
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

QIcon ProgramIcon() {
    LoadPictures();
    return QIcon(":/pictures/vorn.png");
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

QWidget* ButtonBar(QWidget* window, const char* name) {
    auto* bar = new QWidget(window);
    bar->setObjectName(name);
    bar->setFixedHeight(BarHeight);
    SetBackground(bar, colours::Grey);
    return bar;
}

QPushButton* BarButton(QWidget* bar, const char* name, const QString& caption, const QString& hint,
                       int left, int width) {
    auto* button = new QPushButton(caption, bar);
    button->setObjectName(name);
    button->setGeometry(left, 0, width, BarHeight);
    StyleSmallButton(button, hint);
    return button;
}

void StyleSmallButton(QPushButton* button, const QString& hint) {
    button->setFont(SmallFont(9));
    // Black while usable; a disabled button keeps the style's dimmed text, so that it
    // looks disabled.
    QPalette palette = button->palette();
    palette.setColor(QPalette::Active, QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Inactive, QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    if (!hint.isEmpty()) {
        button->setToolTip(hint);
        button->setStatusTip(hint);
    }
}

void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace vorn
