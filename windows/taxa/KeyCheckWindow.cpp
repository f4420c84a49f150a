#include "windows/taxa/KeyCheckWindow.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextCursor>
#include <cmath>
#include <functional>

#include "core/engine/Efficiency.h"
#include "core/key/KeyFiles.h"
#include "core/platform/Messages.h"
#include "core/platform/Text.h"
#include "core/session/EfficiencyReport.h"
#include "core/session/KeyCheckReport.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "frame/BusyCursor.h"
#include "frame/Guarded.h"
#include "frame/Look.h"
#include "frame/WindowRegistry.h"
#include "windows/taxa/TextWindow.h"

namespace vorn {
namespace {

// Work shorter than this ends before its progress dialog appears.
constexpr int kProgressShownAfterMs = 300;
constexpr int kProgressSteps = 1000;
constexpr int kEfficiencyButtonWidth = 120;

// Runs `work` under a progress dialog with Cancel, labelled `label`; `work` is given the
// callback to call with the fraction done, which answers false once Cancel was pressed or
// `stillOpen` no longer holds.
template <class Work>
void WithProgress(const QString& label, const std::function<bool()>& stillOpen, Work&& work) {
    QProgressDialog progress(label, "Cancel", 0, kProgressSteps, DialogParent());
    progress.setWindowTitle("Key Check");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressShownAfterMs);
    progress.setAutoReset(false);
    progress.setValue(0);
    work([&](double fraction) {
        progress.setValue(static_cast<int>(std::lround(fraction * kProgressSteps)));
        // Cancel answers, and the windows repaint, while the work runs.
        QCoreApplication::processEvents();
        return !progress.wasCanceled() && stillOpen();
    });
}

// Measures the key and adds the figures below the check in `form`.
void AddEfficiency(QPointer<TTextForm> form, QPushButton* button,
                   const std::function<bool()>& stillOpen, const std::string& name) {
    if (!stillOpen()) {
        ShowInformation("The key " + KeyTextToUtf8(name) +
                        " is no longer open.  Open it again to measure its efficiency.");
        return;
    }
    Efficiency measured;
    WithProgress("Measuring the efficiency of the key " +
                     QString::fromStdString(KeyTextToUtf8(name)) + "...",
                 stillOpen, [&](const std::function<bool(double)>& progress) {
                     Session& session = CurrentSession();
                     measured = MeasureEfficiency(session.Key.Codes, session.Tolerance(),
                                                  kEfficiencySample, kEfficiencySeed, progress);
                 });
    if (!form || !measured.Complete || !stillOpen()) return;

    BusyCursor busy;
    QString added = QString::fromStdString(
        KeyTextToUtf8("How many answers a user needs\n" +
                      EfficiencyText(CurrentSession().Key, measured, kKeyCheckListLines)));
    QString text = form->Memo1->toPlainText() + "\n";
    form->ShowText(text + added);
    button->setEnabled(false);
    // The figures at the top of the view.
    form->Memo1->moveCursor(QTextCursor::End);
    form->Memo1->ensureCursorVisible();
    QTextCursor cursor = form->Memo1->textCursor();
    cursor.setPosition(static_cast<int>(text.size()));
    form->Memo1->setTextCursor(cursor);
    form->Memo1->ensureCursorVisible();
}

}  // namespace

TTextForm* ShowKeyCheck() {
    if (!CurrentSession().Key.KeyOpen) return nullptr;
    const int64_t key = CurrentSession().KeysOpened;
    const std::string name = CurrentSession().Key.KeyName;
    auto stillOpen = [key] {
        return CurrentSession().Key.KeyOpen && CurrentSession().KeysOpened == key;
    };

    KeyCheck check;
    WithProgress("Checking the key " + QString::fromStdString(KeyTextToUtf8(name)) + "...",
                 stillOpen, [&](const std::function<bool(double)>& progress) {
                     check = CheckKey(CurrentSession().Key.Codes, progress);
                 });
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
    auto* button = BarButton(form->TopPanel, "EfficiencyButton", "Measure &efficiency",
                             "Measure how many answers a user needs to reach each taxon", 60,
                             kEfficiencyButtonWidth);
    ConnectGuarded(button, &QPushButton::clicked, form,
                   [form = QPointer<TTextForm>(form), button, stillOpen, name] {
                       AddEfficiency(form, button, stillOpen, name);
                   });
    return form;
}

}  // namespace vorn
