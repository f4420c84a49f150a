#include "frame/WindowRegistry.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <algorithm>

#include "core/session/Session.h"
#include "frame/CountPanel.h"
#include "frame/Look.h"
#include "frame/PaintErrors.h"
#include "frame/WindowTargets.h"

namespace vorn {
namespace {

WindowRegistry* installedRegistry = nullptr;

}  // namespace

WindowRegistry* InstalledWindows() {
    return installedRegistry;
}

WindowRegistry& Windows() {
    return *installedRegistry;
}

LayoutMetrics FrameMetrics() {
    return installedRegistry ? installedRegistry->Metrics() : LayoutMetrics{};
}

QSize FrameClientSize(QSize fallback) {
    return installedRegistry ? installedRegistry->ClientSize() : fallback;
}

QWidget* DialogParent() {
    return installedRegistry ? installedRegistry->DialogParent() : nullptr;
}

WindowRegistry::WindowRegistry(WindowFrame& frame, WindowKindTable kinds, Session& session)
    : frame_(frame),
      kinds_(kinds),
      session_(session),
      previousEvents_(session.SetEvents(this)),
      previousRegistry_(std::exchange(installedRegistry, this)) {
    notAskedDuring_.fill(-1);
}

WindowRegistry::~WindowRegistry() {
    if (&session_.Events() == this) session_.SetEvents(previousEvents_);
    if (installedRegistry == this) installedRegistry = previousRegistry_;
}

const WindowKindRow& WindowRegistry::Row(WindowKind kind) const {
    return kinds_.Rows[static_cast<size_t>(kind)];
}

QSize WindowRegistry::ClientSize() const {
    return frame_.ChildArea()->viewport()->size();
}

void WindowRegistry::ScrollHome() {
    QMdiArea* area = frame_.ChildArea();
    area->horizontalScrollBar()->setValue(0);
    area->verticalScrollBar()->setValue(0);
}

void WindowRegistry::SetChildFormFactory(std::function<TChildForm*(WindowKind)> factory) {
    factoryOverride_ = std::move(factory);
}

std::vector<QPointer<TChildForm>>& WindowRegistry::Entries(WindowKind kind) {
    auto& entries = registry_[static_cast<size_t>(kind)];
    std::erase_if(entries, [](const QPointer<TChildForm>& form) { return form.isNull(); });
    return entries;
}

// A window may close itself inside f (a question answered No), so each is looked up afresh.
template <class F>
void WindowRegistry::ForEachOpen(WindowGroup group, F&& f) {
    for (int k = 0; k < WindowKindCount; ++k) {
        auto kind = static_cast<WindowKind>(k);
        if (Row(kind).Group != group) continue;
        for (TChildForm* form : OpenForms(kind)) {
            if (!form->Closing()) f(form, Row(kind));
        }
    }
}

void WindowRegistry::Close(WindowKind kind) {
    for (TChildForm* form : OpenForms(kind))
        form->CloseForm();
}

void WindowRegistry::StateScored(int32_t state) {
    if (auto* history = OpenWindow<HistoryTarget>(WindowKind::CharHistory)) {
        history->AddIndic(state);
    }
    if (state >= 0 && state < session_.Key.StateCount) {
        inScoredOrder_.resize(static_cast<size_t>(session_.Key.StateCount));
        if (!inScoredOrder_[static_cast<size_t>(state)]) {
            inScoredOrder_[static_cast<size_t>(state)] = true;
            scoredOrder_.push_back(state);
        }
    }
}

void WindowRegistry::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void WindowRegistry::KeyOpened() {
    frame_.ShowKeyState();
    UpdateMatchingCount();
}

void WindowRegistry::KeyAccepted() {
    scoredOrder_.clear();
    inScoredOrder_.clear();
    frame_.ShowKeyState();  // the key is in the key history now
    LoadAllWindows();
    ShowFirstKeyWindows();
}

void WindowRegistry::KeyClosed() {
    scoredOrder_.clear();
    inScoredOrder_.clear();
    UpdateMatchingCount();
    frame_.ShowKeyState();
    ClearAllWindows();
    CloseKeyWindows();
}

TChildForm* WindowRegistry::OpenForm(WindowKind kind) {
    auto& entries = Entries(kind);
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (!(*it)->Closing()) return *it;
    }
    return nullptr;
}

std::vector<TChildForm*> WindowRegistry::OpenForms(WindowKind kind) {
    std::vector<TChildForm*> forms;
    for (const QPointer<TChildForm>& form : Entries(kind)) {
        if (!form->Closing()) forms.push_back(form);
    }
    return forms;
}

void WindowRegistry::KeepInWorkspace(QMdiSubWindow* sub) {
    if (sub->isMinimized() || sub->isMaximized()) return;
    // The part of the workspace the user sees now: the viewport, whatever it is scrolled.
    QRect visible = frame_.ChildArea()->viewport()->rect();
    QRect bounds = sub->geometry();
    // Within the visible part when it fits; else its top and left edges, with the title
    // bar and the buttons below it, at the workspace's.
    int left = bounds.width() <= visible.width()
                   ? std::clamp(bounds.left(), visible.left(), visible.right() + 1 - bounds.width())
                   : visible.left();
    int top = bounds.height() <= visible.height()
                  ? std::clamp(bounds.top(), visible.top(), visible.bottom() + 1 - bounds.height())
                  : visible.top();
    if (left != bounds.left() || top != bounds.top()) sub->move(left, top);
}

void WindowRegistry::BringForward(TChildForm* form) {
    QMdiSubWindow* sub = form->SubWindow();
    if (!sub) return;
    if (sub->isMinimized()) sub->showNormal();
    KeepInWorkspace(sub);
    frame_.ChildArea()->setActiveSubWindow(sub);
    sub->raise();
}

void WindowRegistry::RaiseWithoutFocus(TChildForm* form) {
    QMdiSubWindow* sub = form->SubWindow();
    if (!sub) return;
    QWidget* focus = QApplication::focusWidget();
    if (sub->isMinimized()) sub->showNormal();
    KeepInWorkspace(sub);
    sub->raise();
    if (focus && focus != QApplication::focusWidget()) focus->setFocus(Qt::OtherFocusReason);
}

TChildForm* WindowRegistry::CreateAndShow(WindowKind kind, bool runFormShow) {
    const WindowKindRow& row = Row(kind);
    TChildForm* form = factoryOverride_ ? factoryOverride_(kind) : nullptr;
    if (!form && row.Create) {
        form = row.Create();
        form->SetCaption(row.Caption);
    }
    if (!form) return nullptr;
    QMdiSubWindow* sub = frame_.ChildArea()->addSubWindow(form);
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
    KeepInWorkspace(sub);
    if (runFormShow) form->FormShow();
    // FormShow may have closed the window (a question answered No).
    return form->Closing() ? nullptr : form;
}

TChildForm* WindowRegistry::ShowWindow(WindowKind kind) {
    if (TChildForm* form = OpenForm(kind); form && !Row(kind).Several) {
        BringForward(form);
        return form;
    }
    return CreateAndShow(kind);
}

void WindowRegistry::ShowCharSubset(const IndexEntry& entry) {
    TChildForm* form = OpenForm(WindowKind::CharSubset);
    bool wasOpen = form != nullptr;
    if (!form) form = CreateAndShow(WindowKind::CharSubset, false);
    auto* target = dynamic_cast<SubsetTarget*>(form);
    if (!target) return;
    target->SetSubsetEntry(entry);
    form->LoadList();
    if (wasOpen && !form->Closing()) BringForward(form);
}

void WindowRegistry::ShowCharMiss(int taxon, const QString& name) {
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

void WindowRegistry::ShowImageForm(const QString& caption, const std::string& imageName) {
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
    form->SetBounds(Metrics().LeftPaneWidth, bounds.top(), bounds.width(), bounds.height());
    target->ShowImage(imageName);
}

TChildForm* WindowRegistry::ShowTaxonDifferences() {
    int32_t taxon = -1;
    if (QMdiSubWindow* sub = frame_.ChildArea()->currentSubWindow()) {
        if (auto* form = qobject_cast<TChildForm*>(sub->widget())) taxon = form->HighlightedTaxon();
    }
    TChildForm* form = ShowWindow(WindowKind::TaxDiff);
    auto* target = dynamic_cast<DifferencesTarget*>(form);
    if (target && taxon >= 0) target->SetTaxonA(taxon);
    return form;
}

void WindowRegistry::RepaintCharWindows() {
    ResetPaintErrors();
    ForEachOpen(WindowGroup::State, [](TChildForm* f, const WindowKindRow&) { f->RepaintList(); });
}
void WindowRegistry::RepaintTaxWindows() {
    ResetPaintErrors();
    ForEachOpen(WindowGroup::Taxa, [](TChildForm* f, const WindowKindRow&) { f->RepaintList(); });
}
void WindowRegistry::RepaintAllWindows() {
    // One reset for both groups: an error met while the first is measured is told once.
    ResetPaintErrors();
    for (WindowGroup group : {WindowGroup::State, WindowGroup::Taxa})
        ForEachOpen(group, [](TChildForm* f, const WindowKindRow&) { f->RepaintList(); });
}
void WindowRegistry::ClearCharWindows() {
    ForEachOpen(WindowGroup::State, [](TChildForm* f, const WindowKindRow&) { f->ClearList(); });
}
void WindowRegistry::ClearTaxWindows() {
    ForEachOpen(WindowGroup::Taxa, [](TChildForm* f, const WindowKindRow&) { f->ClearList(); });
}
void WindowRegistry::ClearAllWindows() {
    ClearCharWindows();
    ClearTaxWindows();
}
void WindowRegistry::LoadCharWindows() {
    ForEachOpen(WindowGroup::State, [](TChildForm* f, const WindowKindRow& row) {
        if (row.LoadedWithKey) f->LoadList();
    });
}
void WindowRegistry::LoadTaxWindows() {
    ForEachOpen(WindowGroup::Taxa, [](TChildForm* f, const WindowKindRow& row) {
        if (row.LoadedWithKey) f->LoadList();
    });
}
void WindowRegistry::LoadAllWindows() {
    ResetPaintErrors();
    LoadCharWindows();
    LoadTaxWindows();
}
void WindowRegistry::RedrawOrButtons() {
    ForEachOpen(WindowGroup::State, [](TChildForm* f, const WindowKindRow&) { f->OrButtonDraw(); });
}

void WindowRegistry::CloseAllWindows() {
    for (int kind = 0; kind < WindowKindCount; ++kind)
        Close(static_cast<WindowKind>(kind));
}

void WindowRegistry::CloseKeyWindows() {
    for (WindowKind kind : kinds_.ClosedWithKey)
        Close(kind);
}

void WindowRegistry::ShowFirstKeyWindows() {
    if (!session_.Key.IndFileName.empty()) {
        ShowWindow(WindowKind::CharIndex);
    } else if (!IsOpen(WindowKind::CharScore)) {
        ShowWindow(WindowKind::CharScore);
    }
}

void WindowRegistry::UpdateMatchingCount() {
    frame_.SetMatchingCountText(session_.Key.KeyOpen
                                    ? QString::fromStdString(MatchingCountCaption(
                                          session_.MatchingTaxaCount(), session_.Tolerance()))
                                    : QString());
}

void WindowRegistry::RefreshAfterScoring() {
    ResetPaintErrors();
    UpdateMatchingCount();
    auto refresh = [](TChildForm* f, const WindowKindRow& row) {
        if (row.Refresh == AfterScoring::Repaint) f->RepaintList();
        if (row.Refresh == AfterScoring::Load) f->LoadList();
    };
    ForEachOpen(WindowGroup::State, refresh);
    if (session_.MatchingTaxaCount() == 1 && !session_.OrMode()) ShowWindow(WindowKind::TaxMatch);
    ForEachOpen(WindowGroup::Taxa, refresh);
}

namespace {

// A maximized child would stay over the laid-out windows, and a child shown while another
// is maximized comes up maximized too, with its buttons in the menu bar: every child is
// restored before a layout and each placed one again after it is shown.
void RestoreMaximized(QMdiArea* area) {
    for (QMdiSubWindow* sub : area->subWindowList()) {
        if (sub->isMaximized()) sub->showNormal();
    }
}

void Place(TChildForm* form, int left, int top, int width, int height) {
    if (!form) return;
    if (QMdiSubWindow* sub = form->SubWindow(); sub && sub->isMaximized()) sub->showNormal();
    form->SetBounds(left, top, width, height);
}

}  // namespace

void WindowRegistry::LayoutWithLower(WindowKind lower) {
    RestoreMaximized(frame_.ChildArea());
    const LayoutMetrics m = Metrics();
    Place(ShowWindow(WindowKind::TaxMatch), 0, 0, m.LeftPaneWidth, m.PaneHeight);
    Place(ShowWindow(lower), m.LeftPaneWidth, m.UpperPaneHeight, m.RightPaneWidth,
          m.LowerPaneHeight);
    Place(ShowWindow(WindowKind::CharScore), m.LeftPaneWidth, 0, m.RightPaneWidth,
          m.UpperPaneHeight);
}

void WindowRegistry::LayoutScoreStates() {
    RestoreMaximized(frame_.ChildArea());
    const LayoutMetrics m = Metrics();
    Place(ShowWindow(WindowKind::TaxMatch), 0, 0, m.LeftPaneWidth, m.PaneHeight);
    Place(ShowWindow(WindowKind::CharScore), m.LeftPaneWidth, 0, m.RightPaneWidth, m.PaneHeight);
}

void WindowRegistry::LayoutScoreWithActive() {
    LayoutWithLower(WindowKind::CharActive);
}
void WindowRegistry::LayoutScoreWithHistory() {
    LayoutWithLower(WindowKind::CharHistory);
}

}  // namespace vorn
