#include "app/WindowManager.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/FMain.h"
#include "engine/Manage.h"
#include "key/Manage.h"
#include "key/Util.h"

namespace vorn {
namespace {

enum class Group { None, State, Taxa };
enum class Refresh { None, Repaint, Load };

// What the broadcasts do with each kind, in registry order.
struct WindowTraits {
    Group group;
    Refresh afterScoring;  // RefreshAfterScoring
    bool loadedWithKey;    // LoadCharWindows / LoadTaxWindows
};

constexpr WindowTraits kTraits[WindowKindCount] = {
    {Group::State, Refresh::Repaint, true},   // CharScore
    {Group::State, Refresh::Load, true},      // CharActive
    {Group::State, Refresh::Repaint, false},  // CharHistory
    {Group::State, Refresh::Load, true},      // CharDiff
    {Group::State, Refresh::Load, true},      // CharSubset
    {Group::State, Refresh::Load, true},      // CharMiss
    {Group::None, Refresh::None, false},      // CharIndex
    {Group::Taxa, Refresh::Load, true},       // TaxMatch
    {Group::Taxa, Refresh::Load, true},       // TaxMismatch
    {Group::None, Refresh::None, false},      // ImageForm
    {Group::None, Refresh::None, false},      // TextForm
};

const WindowTraits& Traits(int kind) {
    return kTraits[kind];
}

// Calls f on every open window of `group`, in registry order. A window may close itself
// inside f (a question answered No); the flag is read afresh for each.
template <class F>
void ForEachOpen(Group group, F&& f) {
    for (int kind = 0; kind < WindowKindCount; ++kind) {
        if (Traits(kind).group != group) continue;
        if (TChildForm* form = OpenWindow(static_cast<WindowKind>(kind))) f(form, Traits(kind));
    }
}

void Close(WindowKind kind) {
    if (TChildForm* form = OpenWindow(kind)) {
        if (QMdiSubWindow* sub = form->SubWindow()) {
            sub->close();
        } else {
            form->close();
        }
    }
}

TChildForm* ShowOrBringForward(WindowKind kind) {
    if (TChildForm* form = OpenWindow(kind)) {
        BringForward(form);
        return form;
    }
    return CreateAndShow(kind);
}

// What opening and closing a key ask of the desktop.
class WindowDesktop : public KeyDesktop {
public:
    void ProcessPendingEvents() override { QCoreApplication::processEvents(); }
    void SetMainCaption(const std::string& caption) override {
        MainForm->setWindowTitle(QString::fromStdString(caption));
    }
    void SetKeyMenu(const KeyMenuState& state) override { MainForm->ApplyKeyMenu(state); }
    void UpdateMatchingCount() override { vorn::UpdateMatchingCount(); }
    bool ShowTitlePage() override { return MainForm->ShowKeyTitle(); }
    void AddToKeyHistory(const std::string& path) override { MainForm->KeyHistoryAdd(path); }
    void RemoveFromKeyHistory(const std::string& path) override {
        MainForm->KeyHistoryRemove(path);
    }
    void LoadAllWindows() override { vorn::LoadAllWindows(); }
    void ShowFirstKeyWindows() override {
        if (!Key.IndFileName.empty()) {
            ShowCharIndex();
        } else if (!IsOpen(WindowKind::CharScore)) {
            ShowCharScore();
        }
    }
    void ClearAllWindows() override { vorn::ClearAllWindows(); }
    void CloseKeyWindows() override { vorn::CloseKeyWindows(); }
};

WindowDesktop windowDesktop;
std::function<TChildForm*(WindowKind)> factoryOverride;

}  // namespace

void SetChildFormFactory(std::function<TChildForm*(WindowKind)> factory) {
    factoryOverride = std::move(factory);
}

void InstallWindowManager(TMainForm* mainForm) {
    MainForm = mainForm;
    ScoringHooks.RefreshAfterScoring = RefreshAfterScoring;
    ScoringHooks.RedrawOrButtons = RedrawOrButtons;
    SetKeyDesktop(&windowDesktop);
}

void UninstallWindowManager() {
    if (&Desktop() == &windowDesktop) SetKeyDesktop(nullptr);
    ScoringHooks = {};
    MainForm = nullptr;
}

void BringForward(TChildForm* form) {
    QMdiSubWindow* sub = form->SubWindow();
    if (!sub) return;
    if (sub->isMinimized()) {
        sub->showNormal();
    } else {
        MainForm->MdiArea->setActiveSubWindow(sub);
        sub->raise();
    }
}

TChildForm* CreateAndShow(WindowKind kind, bool runFormShow) {
    TChildForm* form = factoryOverride ? factoryOverride(kind) : CreateChildForm(kind);
    if (!form) return nullptr;
    QMdiSubWindow* sub = MainForm->MdiArea->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    try {
        form->Created();
    } catch (...) {
        // A window that could not be created is not left registered and hidden.
        delete sub;
        throw;
    }
    sub->show();
    if (runFormShow) form->FormShow();
    // FormShow may have closed the window (a question answered No).
    return OpenWindow(kind) == form ? form : nullptr;
}

TChildForm* ShowTaxMatch() {
    return ShowOrBringForward(WindowKind::TaxMatch);
}
TChildForm* ShowTaxMismatch() {
    return ShowOrBringForward(WindowKind::TaxMismatch);
}
TChildForm* ShowCharIndex() {
    return ShowOrBringForward(WindowKind::CharIndex);
}
TChildForm* ShowCharScore() {
    return ShowOrBringForward(WindowKind::CharScore);
}
TChildForm* ShowCharActive() {
    return ShowOrBringForward(WindowKind::CharActive);
}
TChildForm* ShowCharHistory() {
    return ShowOrBringForward(WindowKind::CharHistory);
}
TChildForm* ShowCharDiff() {
    return ShowOrBringForward(WindowKind::CharDiff);
}

void ShowCharSubset(int entry) {
    TChildForm* form = OpenWindow(WindowKind::CharSubset);
    bool wasOpen = form != nullptr;
    if (!form) form = CreateAndShow(WindowKind::CharSubset, false);
    auto* target = dynamic_cast<SubsetTarget*>(form);
    if (!target) return;
    target->SetSubsetEntry(entry);
    form->LoadList();
    if (wasOpen && IsOpen(WindowKind::CharSubset)) BringForward(form);
}

void ShowCharMiss(int taxon, const QString& name) {
    TChildForm* form = OpenWindow(WindowKind::CharMiss);
    bool wasOpen = form != nullptr;
    if (!form) form = CreateAndShow(WindowKind::CharMiss);
    auto* target = dynamic_cast<MissTarget*>(form);
    if (!target) return;
    target->SetMissTaxon(taxon, name);
    form->LoadList();
    if (wasOpen && IsOpen(WindowKind::CharMiss)) BringForward(form);
}

void ShowImageForm(const QString& caption, const std::string& imageName) {
    if (TChildForm* form = OpenWindow(WindowKind::ImageForm)) {
        form->SetCaption(caption);
        if (auto* target = dynamic_cast<ImageTarget*>(form)) target->ShowImage(imageName);
        // The picture may have been missing, which closes the window.
        if (IsOpen(WindowKind::ImageForm)) BringForward(form);
        return;
    }
    TChildForm* form = CreateAndShow(WindowKind::ImageForm);
    auto* target = dynamic_cast<ImageTarget*>(form);
    if (!target) return;
    form->SetCaption(caption);
    QRect bounds = form->Bounds();
    form->SetBounds(MainForm->LeftPaneWidth, bounds.top(), bounds.width(), bounds.height());
    target->ShowImage(imageName);
}

void RepaintCharWindows() {
    ForEachOpen(Group::State, [](TChildForm* f, const WindowTraits&) { f->RepaintList(); });
}
void RepaintTaxWindows() {
    ForEachOpen(Group::Taxa, [](TChildForm* f, const WindowTraits&) { f->RepaintList(); });
}
void RepaintAllWindows() {
    RepaintCharWindows();
    RepaintTaxWindows();
}
void ClearCharWindows() {
    ForEachOpen(Group::State, [](TChildForm* f, const WindowTraits&) { f->ClearList(); });
}
void ClearTaxWindows() {
    ForEachOpen(Group::Taxa, [](TChildForm* f, const WindowTraits&) { f->ClearList(); });
}
void ClearAllWindows() {
    ClearCharWindows();
    ClearTaxWindows();
}
void LoadCharWindows() {
    ForEachOpen(Group::State, [](TChildForm* f, const WindowTraits& t) {
        if (t.loadedWithKey) f->LoadList();
    });
}
void LoadTaxWindows() {
    ForEachOpen(Group::Taxa, [](TChildForm* f, const WindowTraits& t) {
        if (t.loadedWithKey) f->LoadList();
    });
}
void LoadAllWindows() {
    LoadCharWindows();
    LoadTaxWindows();
}
void RedrawOrButtons() {
    ForEachOpen(Group::State, [](TChildForm* f, const WindowTraits&) { f->OrButtonDraw(); });
}

void CloseAllWindows() {
    for (int kind = 0; kind < WindowKindCount; ++kind)
        Close(static_cast<WindowKind>(kind));
}

void CloseKeyWindows() {
    for (WindowKind kind : {WindowKind::CharIndex, WindowKind::CharSubset, WindowKind::CharMiss,
                            WindowKind::CharDiff, WindowKind::ImageForm}) {
        Close(kind);
    }
}

void UpdateMatchingCount() {
    if (!MainForm) return;
    MainForm->SetMatchingCountText(
        Key.KeyOpen ? QString::fromStdString(MatchingCountText(MatchingTaxaCount)) : QString());
}

void RefreshAfterScoring() {
    UpdateMatchingCount();
    auto refresh = [](TChildForm* f, const WindowTraits& t) {
        if (t.afterScoring == Refresh::Repaint) f->RepaintList();
        if (t.afterScoring == Refresh::Load) f->LoadList();
    };
    ForEachOpen(Group::State, refresh);
    if (MatchingTaxaCount == 1 && !OrMode) ShowTaxMatch();
    ForEachOpen(Group::Taxa, refresh);
}

namespace {

void Place(TChildForm* form, int left, int top, int width, int height) {
    if (form) form->SetBounds(left, top, width, height);
}

void LayoutWithLower(TChildForm* (*showLower)()) {
    const TMainForm& m = *MainForm;
    Place(ShowTaxMatch(), 0, 0, m.LeftPaneWidth, m.PaneHeight);
    Place(showLower(), m.LeftPaneWidth, m.UpperPaneHeight, m.RightPaneWidth, m.LowerPaneHeight);
    Place(ShowCharScore(), m.LeftPaneWidth, 0, m.RightPaneWidth, m.UpperPaneHeight);
}

}  // namespace

void LayoutScoreStates() {
    const TMainForm& m = *MainForm;
    Place(ShowTaxMatch(), 0, 0, m.LeftPaneWidth, m.PaneHeight);
    Place(ShowCharScore(), m.LeftPaneWidth, 0, m.RightPaneWidth, m.PaneHeight);
}

void LayoutScoreWithActive() {
    LayoutWithLower(ShowCharActive);
}
void LayoutScoreWithHistory() {
    LayoutWithLower(ShowCharHistory);
}

}  // namespace vorn
