#pragma once

#include <QPointer>
#include <QWidget>

namespace vorn {

// Gives the keyboard focus back once a modal window (a message, a question, a file
// dialog, the title page) has closed: to the widget that had it when the keeper was
// made, or else to the frame, so that function keys and access keys work again without
// a click. Which window is active after a modal one closes is the window manager's
// choice, and without one (a bare X server, the offscreen platform) none is. Nothing is
// done while another modal window is still open, or when neither is left on screen.
class FocusKeeper {
public:
    FocusKeeper();
    ~FocusKeeper();
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

private:
    QPointer<QWidget> focus_;
    QPointer<QWidget> frame_;
};

}  // namespace vorn
