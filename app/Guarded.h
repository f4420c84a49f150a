#pragma once

#include <exception>

#include "app/QtUserInterface.h"

namespace vorn {

// Runs what a click or a key press asked of a window. An error that ends it (an IoError
// from a key file) is shown by the general error handling right here, at the edge of the
// program's own code: unwinding on through the toolkit's event delivery, which is built
// without exception support, would skip its clean-up. What was done before stays.
template <class Action>
void Guarded(Action&& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

// A member function as a guarded slot, for connecting commands to buttons and menu items.
template <class Object>
auto GuardedSlot(Object* object, void (Object::*slot)()) {
    return [object, slot] { Guarded([&] { (object->*slot)(); }); };
}

}  // namespace vorn
