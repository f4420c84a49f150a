#include "frame/WindowManager.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScrollBar>
#include <algorithm>
#include <array>

#include "core/engine/Queries.h"
#include "core/key/KeyFiles.h"
#include "core/session/Events.h"
#include "core/session/Modes.h"
#include "frame/Look.h"
#include "frame/PaintErrors.h"

namespace vorn {
namespace {

WindowFrame* frame = nullptr;
const WindowKindRow* kindTable = nullptr;
std::span<const WindowKind> closedWithKey;
std::function<TChildForm*(WindowKind)> factoryOverride;

// Per kind, the windows created and not yet destroyed, oldest first. A QPointer turns null
// when Qt deletes its window, so nothing here can point at a destroyed window; a window
// that has begun to close is skipped by every lookup.
std::array<std::vector<QPointer<TChildForm>>, WindowKindCount> registry;

const WindowKindRow& Row(WindowKind kind) {
    return kindTable[static_cast<int>(kind)];
}

std::vector<QPointer<TChildForm>>& Entries(WindowKind kind) {
    auto& entries = registry[static_cast<size_t>(kind)];
    std::erase_if(entries, [](const QPointer<TChildForm>& form) { return form.isNull(); });
    return entries;
}

// Calls f on every open window of `group`, in registry order. A window may close itself
// inside f (a question answered No), so each is looked up afresh.
template <class F>
void ForEachOpen(WindowGroup group, F&& f) {
    if (!kindTable) return;
    for (int k = 0; k < WindowKindCount; ++k) {
        auto kind = static_cast<WindowKind>(k);
        if (Row(kind).Group != group) continue;
        for (TChildForm* form : OpenForms(kind)) {
            if (!form->Closing()) f(form, Row(kind));
        }
    }
}

void Close(WindowKind kind) {
    for (TChildForm* form : OpenForms(kind))
        form->CloseForm();
}

}  // namespace

LayoutMetrics FrameMetrics() {
    return frame ? frame->Metrics() : LayoutMetrics{};
}

QSize FrameClientSize(QSize fallback) {
    return frame ? frame->ChildArea()->viewport()->size() : fallback;
}

QWidget* DialogParent() {
    return frame ? frame->DialogParent() : nullptr;
}

void ScrollFrameHome() {
    if (!frame) return;
    QMdiArea* area = frame->ChildArea();
    area->horizontalScrollBar()->setValue(0);
    area->verticalScrollBar()->setValue(0);
}

void SetChildFormFactory(std::function<TChildForm*(WindowKind)> factory) {
    factoryOverride = std::move(factory);
}

namespace {

// What the core tells, turned into what the windows and the frame do.
class WindowManagerEvents : public SessionEvents {
public:
    void StateScored(int32_t state) override {
        if (auto* history = OpenWindow<HistoryTarget>(WindowKind::CharHistory)) {
            history->AddIndic(state);
        }
    }
    void ScoresChanged() override { RefreshAfterScoring(); }
    void OrModeChanged() override { RedrawOrButtons(); }
    void ProcessPendingEvents() override { QCoreApplication::processEvents(); }
    void KeyOpened() override {
        if (frame) frame->ShowKeyState();
        UpdateMatchingCount();
    }
    bool ConfirmTitlePage() override { return frame && frame->ConfirmTitlePage(); }
    void KeyAccepted() override {
        LoadAllWindows();
        ShowFirstKeyWindows();
    }
    void KeyClosed() override {
        UpdateMatchingCount();
        if (frame) frame->ShowKeyState();
        ClearAllWindows();
        CloseKeyWindows();
    }
};

WindowManagerEvents events;

}  // namespace

void InstallWindowManager(WindowFrame* windowFrame, WindowKindTable kinds) {
    frame = windowFrame;
    kindTable = kinds.Rows.data();
    closedWithKey = kinds.ClosedWithKey;
    SetSessionEvents(&events);
}

void UninstallWindowManager() {
    if (&Events() == &events) SetSessionEvents(nullptr);
    frame = nullptr;
}

bool IsOpen(WindowKind kind) {
    return OpenForm(kind) != nullptr;
}

TChildForm* OpenForm(WindowKind kind) {
    auto& entries = Entries(kind);
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (!(*it)->Closing()) return *it;
    }
    return nullptr;
}

std::vector<TChildForm*> OpenForms(WindowKind kind) {
    std::vector<TChildForm*> forms;
    for (const QPointer<TChildForm>& form : Entries(kind)) {
        if (!form->Closing()) forms.push_back(form);
    }
    return forms;
}

void BringForward(TChildForm* form) {
    QMdiSubWindow* sub = form->SubWindow();
    if (!sub) return;
    if (sub->isMinimized()) {
        sub->showNormal();
    } else {
        if (frame) frame->ChildArea()->setActiveSubWindow(sub);
        sub->raise();
    }
}

void RaiseWithoutFocus(TChildForm* form) {
    QMdiSubWindow* sub = form->SubWindow();
    if (!sub) return;
    QWidget* focus = QApplication::focusWidget();
    if (sub->isMinimized()) sub->showNormal();
    sub->raise();
    if (focus && focus != QApplication::focusWidget()) focus->setFocus(Qt::OtherFocusReason);
}

TChildForm* CreateAndShow(WindowKind kind, bool runFormShow) {
    if (!frame || !kindTable) return nullptr;
    const WindowKindRow& row = Row(kind);
    TChildForm* form = factoryOverride ? factoryOverride(kind) : nullptr;
    if (!form && row.Create) {
        form = row.Create();
        form->SetCaption(row.Caption);
    }
    if (!form) return nullptr;
    QMdiSubWindow* sub = frame->ChildArea()->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(ProgramIcon());
    if (!row.Several) Entries(kind).clear();
    Entries(kind).push_back(form);
    try {
        form->Created();
    } catch (...) {
        // A window that could not be created is neither left registered nor shown.
        delete sub;
        throw;
    }
    sub->show();
    if (runFormShow) form->FormShow();
    // FormShow may have closed the window (a question answered No).
    return form->Closing() ? nullptr : form;
}

TChildForm* ShowWindow(WindowKind kind) {
    if (TChildForm* form = OpenForm(kind); form && !Row(kind).Several) {
        BringForward(form);
        return form;
    }
    return CreateAndShow(kind);
}

void ShowCharSubset(const IndexEntry& entry) {
    TChildForm* form = OpenForm(WindowKind::CharSubset);
    bool wasOpen = form != nullptr;
    if (!form) form = CreateAndShow(WindowKind::CharSubset, false);
    auto* target = dynamic_cast<SubsetTarget*>(form);
    if (!target) return;
    target->SetSubsetEntry(entry);
    form->LoadList();
    if (wasOpen && !form->Closing()) BringForward(form);
}

void ShowCharMiss(int taxon, const QString& name) {
    TChildForm* form = OpenForm(WindowKind::CharMiss);
    bool wasOpen = form != nullptr;
    if (!form) {
        // Opened from a list the user browses: the focus stays in that list.
        QPointer<QWidget> focus = QApplication::focusWidget();
        form = CreateAndShow(WindowKind::CharMiss);
        if (focus) focus->setFocus(Qt::OtherFocusReason);
    }
    auto* target = dynamic_cast<MissTarget*>(form);
    if (!target) return;
    target->SetMissTaxon(taxon, name);
    form->LoadList();
    if (wasOpen && !form->Closing()) RaiseWithoutFocus(form);
}

void ShowImageForm(const QString& caption, const std::string& imageName) {
    if (TChildForm* form = OpenForm(WindowKind::ImageForm)) {
        form->SetCaption(caption);
        if (auto* target = dynamic_cast<ImageTarget*>(form)) target->ShowImage(imageName);
        // The picture may have been missing, which closes the window.
        if (!form->Closing()) RaiseWithoutFocus(form);
        return;
    }
    TChildForm* form = CreateAndShow(WindowKind::ImageForm);
    auto* target = dynamic_cast<ImageTarget*>(form);
    if (!target) return;
    form->SetCaption(caption);
    QRect bounds = form->Bounds();
    form->SetBounds(FrameMetrics().LeftPaneWidth, bounds.top(), bounds.width(), bounds.height());
    target->ShowImage(imageName);
}

TChildForm* ShowTaxonDifferences() {
    int32_t taxon = -1;
    if (QMdiSubWindow* sub = frame ? frame->ChildArea()->currentSubWindow() : nullptr) {
        if (auto* form = qobject_cast<TChildForm*>(sub->widget())) taxon = form->HighlightedTaxon();
    }
    TChildForm* form = ShowWindow(WindowKind::TaxDiff);
    auto* target = dynamic_cast<DifferencesTarget*>(form);
    if (target && taxon >= 0) target->SetTaxonA(taxon);
    return form;
}

void RepaintCharWindows() {
    ResetPaintErrors();
    ForEachOpen(WindowGroup::State, [](TChildForm* f, const WindowKindRow&) { f->RepaintList(); });
}
void RepaintTaxWindows() {
    ResetPaintErrors();
    ForEachOpen(WindowGroup::Taxa, [](TChildForm* f, const WindowKindRow&) { f->RepaintList(); });
}
void RepaintAllWindows() {
    // One reset for both groups: an error met while the first is measured is told once.
    ResetPaintErrors();
    for (WindowGroup group : {WindowGroup::State, WindowGroup::Taxa})
        ForEachOpen(group, [](TChildForm* f, const WindowKindRow&) { f->RepaintList(); });
}
void ClearCharWindows() {
    ForEachOpen(WindowGroup::State, [](TChildForm* f, const WindowKindRow&) { f->ClearList(); });
}
void ClearTaxWindows() {
    ForEachOpen(WindowGroup::Taxa, [](TChildForm* f, const WindowKindRow&) { f->ClearList(); });
}
void ClearAllWindows() {
    ClearCharWindows();
    ClearTaxWindows();
}
void LoadCharWindows() {
    ForEachOpen(WindowGroup::State, [](TChildForm* f, const WindowKindRow& row) {
        if (row.LoadedWithKey) f->LoadList();
    });
}
void LoadTaxWindows() {
    ForEachOpen(WindowGroup::Taxa, [](TChildForm* f, const WindowKindRow& row) {
        if (row.LoadedWithKey) f->LoadList();
    });
}
void LoadAllWindows() {
    ResetPaintErrors();
    LoadCharWindows();
    LoadTaxWindows();
}
void RedrawOrButtons() {
    ForEachOpen(WindowGroup::State, [](TChildForm* f, const WindowKindRow&) { f->OrButtonDraw(); });
}

void CloseAllWindows() {
    for (int kind = 0; kind < WindowKindCount; ++kind)
        Close(static_cast<WindowKind>(kind));
}

void CloseKeyWindows() {
    for (WindowKind kind : closedWithKey)
        Close(kind);
}

void ShowFirstKeyWindows() {
    if (!Key.IndFileName.empty()) {
        ShowWindow(WindowKind::CharIndex);
    } else if (!IsOpen(WindowKind::CharScore)) {
        ShowWindow(WindowKind::CharScore);
    }
}

// At tolerance 0 the panel says what it always said; once mismatches are allowed and
// still nothing matches, it offers one more.
std::string MatchingCountCaption(int32_t count, int tolerance) {
    std::string caption = MatchingCountText(count);
    if (count == 0 && tolerance > 0 && tolerance < kMenuTolerance) {
        caption += ": click to allow " + std::to_string(tolerance + 1);
    } else if (tolerance > 0) {
        caption += ", " + std::to_string(tolerance) + " allowed";
    }
    return caption;
}

bool CountPanelOffersTolerance() {
    return Key.KeyOpen && MatchingTaxaCount() == 0 && Tolerance() > 0 &&
           Tolerance() < kMenuTolerance;
}

void UpdateMatchingCount() {
    if (!frame) return;
    frame->SetMatchingCountText(
        Key.KeyOpen ? QString::fromStdString(MatchingCountCaption(MatchingTaxaCount(), Tolerance()))
                    : QString());
}

void RefreshAfterScoring() {
    ResetPaintErrors();
    UpdateMatchingCount();
    auto refresh = [](TChildForm* f, const WindowKindRow& row) {
        if (row.Refresh == AfterScoring::Repaint) f->RepaintList();
        if (row.Refresh == AfterScoring::Load) f->LoadList();
    };
    ForEachOpen(WindowGroup::State, refresh);
    if (MatchingTaxaCount() == 1 && !OrMode()) ShowWindow(WindowKind::TaxMatch);
    ForEachOpen(WindowGroup::Taxa, refresh);
}

namespace {

// A maximized child would stay over the laid-out windows, and a child shown while another
// is maximized comes up maximized too, with its buttons in the menu bar: every child is
// restored before a layout and each placed one again after it is shown.
void RestoreMaximized() {
    if (!frame) return;
    for (QMdiSubWindow* sub : frame->ChildArea()->subWindowList()) {
        if (sub->isMaximized()) sub->showNormal();
    }
}

void Place(TChildForm* form, int left, int top, int width, int height) {
    if (!form) return;
    if (QMdiSubWindow* sub = form->SubWindow(); sub && sub->isMaximized()) sub->showNormal();
    form->SetBounds(left, top, width, height);
}

void LayoutWithLower(WindowKind lower) {
    RestoreMaximized();
    const LayoutMetrics m = FrameMetrics();
    Place(ShowWindow(WindowKind::TaxMatch), 0, 0, m.LeftPaneWidth, m.PaneHeight);
    Place(ShowWindow(lower), m.LeftPaneWidth, m.UpperPaneHeight, m.RightPaneWidth,
          m.LowerPaneHeight);
    Place(ShowWindow(WindowKind::CharScore), m.LeftPaneWidth, 0, m.RightPaneWidth,
          m.UpperPaneHeight);
}

}  // namespace

void LayoutScoreStates() {
    RestoreMaximized();
    const LayoutMetrics m = FrameMetrics();
    Place(ShowWindow(WindowKind::TaxMatch), 0, 0, m.LeftPaneWidth, m.PaneHeight);
    Place(ShowWindow(WindowKind::CharScore), m.LeftPaneWidth, 0, m.RightPaneWidth, m.PaneHeight);
}

void LayoutScoreWithActive() {
    LayoutWithLower(WindowKind::CharActive);
}
void LayoutScoreWithHistory() {
    LayoutWithLower(WindowKind::CharHistory);
}

}  // namespace vorn
