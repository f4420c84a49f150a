#include "frame/ChildForm.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMdiSubWindow>

namespace vorn {
namespace {

// The enabled, visible button of `form` whose access key is the Alt+letter of `event`.
QAbstractButton* ButtonForAccessKey(const QWidget* form, const QKeyEvent* event) {
    if (event->modifiers() != Qt::AltModifier) return nullptr;
    const QKeySequence pressed(Qt::ALT | static_cast<Qt::Key>(event->key()));
    for (QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
        if (button->isEnabled() && button->isVisible() &&
            QKeySequence::mnemonic(button->text()) == pressed) {
            return button;
        }
    }
    return nullptr;
}

}  // namespace

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

bool TChildForm::event(QEvent* event) {
    // Claiming the key here keeps the menus' shortcuts from taking it; it then comes back
    // as a key press.
    if (event->type() == QEvent::ShortcutOverride &&
        ButtonForAccessKey(this, static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void TChildForm::keyPressEvent(QKeyEvent* event) {
    if (QAbstractButton* button = ButtonForAccessKey(this, event)) {
        button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TChildForm::CloseForm() {
    if (QMdiSubWindow* sub = SubWindow()) {
        sub->close();
    } else {
        close();
    }
}

QSize TChildForm::ContentMinimum() const {
    constexpr int kLines = 4;
    QRect buttons(0, 0, 1, 1);
    for (const QAbstractButton* button : findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(this)) {
            buttons |= QRect(button->mapTo(this, QPoint(0, 0)), button->size());
        }
    }
    return QSize(buttons.right() + 1, buttons.bottom() + 1 + kLines * fontMetrics().lineSpacing())
        .expandedTo(minimumSize());
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
