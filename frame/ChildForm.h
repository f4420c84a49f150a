#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

class QMdiSubWindow;

namespace vorn {

// The kinds of child window, in the order of the window manager's broadcasts. Each has
// one row in the table of window kinds (desktop/WindowKinds.cpp); the table's size is
// checked against Count when it is compiled.
enum class WindowKind : int {
    CharScore,    // Score Character States
    CharActive,   // Active Character States
    CharHistory,  // Character State History
    CharDiff,     // Differentiating Character States
    CharBest,     // Best Character States
    CharSubset,   // Character State Subset
    CharMiss,     // Mismatched States (one taxon)
    CharIndex,    // Index to Character States
    TaxMatch,     // Matching Taxa
    TaxMismatch,  // Mismatched Character States (taxa)
    TaxDiff,      // Taxon Differences
    ImageForm,
    TextForm,
    Count
};
constexpr int WindowKindCount = static_cast<int>(WindowKind::Count);

// A child window of the main window: the widget inside one sub-window of the frame's
// multiple-document area. The window manager creates and registers it; it is destroyed,
// not hidden, when it closes. It never sees the main window: what it needs of the frame
// (layout metrics, client area, the parent of dialogs) it asks the window manager.
class TChildForm : public QWidget {
    Q_OBJECT
public:
    explicit TChildForm(WindowKind kind);

    WindowKind Kind() const { return kind_; }
    // The sub-window that frames this form; null before it is placed in the frame.
    QMdiSubWindow* SubWindow() const;
    // Set once the window has begun to close: from then on the registry no longer counts
    // it as open, although Qt deletes it only later.
    bool Closing() const { return closing_; }

    // The list operations through which the window manager keeps the window up to date.
    // Windows without a list (or without an Or button) keep these empty ones.
    virtual void LoadList() {}
    virtual void ClearList() {}
    virtual void RepaintList() {}
    virtual void OrButtonDraw() {}
    // The taxon highlighted in this window's list of taxa, or -1 (no such list, nothing
    // highlighted): what a command that starts from "this taxon" takes.
    virtual int32_t HighlightedTaxon() const { return -1; }

    // Called once by the window manager right after the window is placed in the frame and
    // registered (FormCreate), and once right after it is first shown (FormShow).
    void Created() { FormCreate(); }
    virtual void FormShow() {}

    // The least size of the window (without its frame) that shows every one of its
    // buttons and a few lines below them: how far arranging the windows may shrink it.
    QSize ContentMinimum() const;

    // Outer bounds of the sub-window in the frame's child area.
    void SetBounds(int left, int top, int width, int height);
    QRect Bounds() const;
    void SetCaption(const QString& caption);
    QString Caption() const { return windowTitle(); }
    // Closes the window through its sub-window, as the user does with the title bar.
    void CloseForm();

protected:
    virtual void FormCreate() {}
    // Runs when the window closes, before it is destroyed.
    virtual void FormClose() {}
    void closeEvent(QCloseEvent* event) override;
    // The access keys of this window's buttons (Alt+C for "&Clear") come before the main
    // window's menus while the focus is inside the window.
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    WindowKind kind_;
    bool closing_ = false;
};

}  // namespace vorn
