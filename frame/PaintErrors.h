#pragma once

#include <exception>

namespace vorn {

// Drawing never fails and never asks anything: a list line whose count cannot be read
// shows "(?)" instead, and notes the error here. The first error noted since the last
// reset is told once, by a message queued to show after painting; scrolling and further
// repaints tell nothing more until the next reset, which the window manager makes after
// every scoring action, key opening and change of display mode.
void NotePaintError(const std::exception& error);
void ResetPaintErrors();

}  // namespace vorn
