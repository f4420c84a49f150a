#pragma once

#include <QColor>
#include <QFont>

namespace vorn {

// "System" at N pixels: the desktop's default sans-serif font at that pixel size.
QFont SystemFont(int pixels);
// "Small Fonts" bold at N pixels, the font of every small button.
QFont SmallFont(int pixels);

// Makes the pictures built into the program available (":/pictures/..."); they live in a
// static library, which does not register them by itself. Safe to call more than once.
void LoadPictures();

// Fills a widget's background with a colour of its own.
void SetBackground(class QWidget* widget, const QColor& colour);

namespace colours {
inline const QColor Navy(0, 0, 128);
inline const QColor Green(0, 128, 0);
inline const QColor Aqua(0, 255, 255);
inline const QColor Grey(192, 192, 192);  // "grey" panels and "silver"
inline const QColor Teal(0, 128, 128);
inline const QColor Olive(128, 128, 0);
}  // namespace colours

}  // namespace vorn
