#include "frame/PaintErrors.h"

#include <QCoreApplication>
#include <string>

#include "core/platform/Messages.h"

namespace vorn {
namespace {

bool noted = false;

}  // namespace

void NotePaintError(const std::exception& error) {
    if (noted) return;
    noted = true;
    std::string text = error.what();
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            app, [text] { ShowError(text); }, Qt::QueuedConnection);
    }
}

void ResetPaintErrors() {
    noted = false;
}

}  // namespace vorn
