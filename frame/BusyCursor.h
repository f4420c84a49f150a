#pragma once

#include <QGuiApplication>

namespace vorn {

// The hourglass while a list is rebuilt. The destructor restores the cursor, so an error
// that ends the rebuild (an IoError on the way to the general error handling) never
// leaves the program showing it.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace vorn
