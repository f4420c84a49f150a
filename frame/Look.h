#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>

class QPushButton;
class QWidget;

namespace vorn {

// "System" at N pixels: the desktop's default sans-serif font at that pixel size.
QFont SystemFont(int pixels);
// "Small Fonts" bold at N pixels, the font of every small button.
QFont SmallFont(int pixels);

// The program's own icon, for its windows' title bars.
QIcon ProgramIcon();

// Makes the pictures built into the program available (":/pictures/..."); they live in a
// static library, which does not register them by itself. Safe to call more than once.
void LoadPictures();

// The grey bar along the top of a child window that holds its buttons, 19 pixels high.
QWidget* ButtonBar(QWidget* window, const char* name);
// The look of every small button: the small bold font in black, its hint shown as tool
// tip and status tip.
void StyleSmallButton(QPushButton* button, const QString& hint);

// A button on such a bar at `left`: 19 high, `width` wide, in the small bold font in black,
// its hint shown as tool tip and status tip.
QPushButton* BarButton(QWidget* bar, const char* name, const QString& caption, const QString& hint,
                       int left, int width = 60);
constexpr int BarHeight = 19;

// Fills a widget's background with a colour of its own.
void SetBackground(QWidget* widget, const QColor& colour);

namespace colours {
inline const QColor Navy(0, 0, 128);
inline const QColor Green(0, 128, 0);
inline const QColor Aqua(0, 255, 255);
inline const QColor Grey(192, 192, 192);  // "grey" panels and "silver"
inline const QColor Teal(0, 128, 128);
inline const QColor Olive(128, 128, 0);
}  // namespace colours

}  // namespace vorn
