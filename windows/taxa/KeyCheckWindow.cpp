#include "windows/taxa/KeyCheckWindow.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <cmath>

#include "core/key/KeyFiles.h"
#include "core/platform/Text.h"
#include "core/session/KeyCheckReport.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "frame/BusyCursor.h"
#include "frame/WindowRegistry.h"
#include "windows/taxa/TextWindow.h"

namespace vorn {
namespace {

// A check shorter than this ends before its progress dialog appears.
constexpr int kProgressShownAfterMs = 300;
constexpr int kProgressSteps = 1000;

}  // namespace

TTextForm* ShowKeyCheck() {
    if (!CurrentSession().Key.KeyOpen) return nullptr;
    const int64_t key = CurrentSession().KeysOpened;
    const std::string name = CurrentSession().Key.KeyName;
    auto stillOpen = [key] {
        return CurrentSession().Key.KeyOpen && CurrentSession().KeysOpened == key;
    };

    KeyCheck check;
    {
        QProgressDialog progress(
            "Checking the key " + QString::fromStdString(KeyTextToUtf8(name)) + "...", "Cancel", 0,
            kProgressSteps, DialogParent());
        progress.setWindowTitle("Key Check");
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(kProgressShownAfterMs);
        progress.setAutoReset(false);
        progress.setValue(0);
        check = CheckKey(CurrentSession().Key.Codes, [&](double fraction) {
            progress.setValue(static_cast<int>(std::lround(fraction * kProgressSteps)));
            // Cancel answers, and the windows repaint, while the check runs.
            QCoreApplication::processEvents();
            return !progress.wasCanceled() && stillOpen();
        });
    }
    if (!stillOpen()) return nullptr;

    BusyCursor busy;
    // The text first: a name that cannot be read leaves no empty window behind.
    QString text = QString::fromStdString(
        KeyTextToUtf8(KeyCheckText(CurrentSession().Key, check, kKeyCheckListLines)));
    auto* form = dynamic_cast<TTextForm*>(Windows().CreateAndShow(WindowKind::TextForm));
    if (!form) return nullptr;
    form->SetCaption(QString::fromStdString(KeyTextToUtf8("Key Check: " + name)));
    // A report, not a file shown as written: its long lines wrap at the window's width.
    form->Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    form->ShowText(text);
    return form;
}

}  // namespace vorn
