#pragma once

#include <QMetaObject>
#include <QObject>
#include <exception>

namespace vorn {

// Shows an error that ended an operation: the program's general error handling.
void ReportError(const std::exception& error);

// Runs what a click or a key press asked of the program. An error that ends it (an
// IoError from a key file) is shown right here, at the edge of the program's own code:
// unwinding on through the toolkit's event delivery, which is built without exception
// support, would skip its clean-up. What was done before stays.
template <class Action>
void Guarded(Action&& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

// The one way a user action reaches the program: `slot` of `receiver` connected to
// `signal` of `sender`, run guarded. Slots themselves stay plain, so that tests and
// other commands can call them and see their errors.
template <class Sender, class Signal, class Receiver>
QMetaObject::Connection ConnectGuarded(Sender* sender, Signal signal, Receiver* receiver,
                                       void (Receiver::*slot)()) {
    return QObject::connect(sender, signal, receiver,
                            [receiver, slot] { Guarded([&] { (receiver->*slot)(); }); });
}

// A guarded action of any shape (a lambda), for the few connections that pass arguments.
template <class Sender, class Signal, class Action>
QMetaObject::Connection ConnectGuarded(Sender* sender, Signal signal, QObject* context,
                                       Action action) {
    return QObject::connect(sender, signal, context, [action] { Guarded([&] { action(); }); });
}

}  // namespace vorn
