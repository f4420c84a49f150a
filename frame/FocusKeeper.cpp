#include "frame/FocusKeeper.h"

#include <QApplication>

#include "frame/WindowRegistry.h"

namespace vorn {

FocusKeeper::FocusKeeper() : focus_(QApplication::focusWidget()), frame_(DialogParent()) {}

FocusKeeper::~FocusKeeper() {
    if (QApplication::activeModalWidget()) return;
    QWidget* focus = focus_ && focus_->isVisible() ? focus_.data() : nullptr;
    QWidget* window = focus ? focus->window() : frame_.data();
    if (!window || !window->isVisible()) return;
    // Asked even when the toolkit still counts the window as active: the closed modal
    // window's own activation and deactivation may not have reached it yet.
    window->activateWindow();
    if (focus) focus->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace vorn
