#include "app/ChildForm.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

namespace vorn {

TChildForm::TChildForm(WindowKind kind) : kind_(kind) {}

QMdiSubWindow* TChildForm::SubWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void TChildForm::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        FormClose();
    }
    event->accept();
}

void TChildForm::CloseForm() {
    if (QMdiSubWindow* sub = SubWindow()) {
        sub->close();
    } else {
        close();
    }
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
