#include "app/ChildForm.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

#include "app/WindowManager.h"

namespace vorn {

TChildForm::TChildForm(WindowKind kind) : kind_(kind) {}

TChildForm::~TChildForm() {
    Unregister();
}

QMdiSubWindow* TChildForm::SubWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void TChildForm::Created() {
    WindowEntry& entry = Registry[static_cast<int>(kind_)];
    entry.Form = this;
    entry.Open = true;
    FormCreate();
}

void TChildForm::Unregister() {
    WindowEntry& entry = Registry[static_cast<int>(kind_)];
    // Any text window clears the shared flag; only the one named forgets the reference.
    if (entry.Form == this || kind_ == WindowKind::TextForm) entry.Open = false;
    if (entry.Form == this) entry.Form = nullptr;
}

void TChildForm::closeEvent(QCloseEvent* event) {
    FormClose();
    Unregister();
    event->accept();
}

void TChildForm::SetBounds(int left, int top, int width, int height) {
    if (QMdiSubWindow* sub = SubWindow()) {
        sub->setGeometry(left, top, width, height);
    } else {
        setGeometry(left, top, width, height);
    }
}

QRect TChildForm::Bounds() const {
    QMdiSubWindow* sub = SubWindow();
    return sub ? sub->geometry() : geometry();
}

void TChildForm::SetCaption(const QString& caption) {
    setWindowTitle(caption);
}

}  // namespace vorn
