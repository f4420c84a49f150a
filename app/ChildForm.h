#pragma once

#include <QString>
#include <QWidget>

class QMdiSubWindow;

namespace vorn {

// The kinds of child window, in the order of the window manager's broadcasts.
enum class WindowKind : int {
    CharScore,    // Score Character States
    CharActive,   // Active Character States
    CharHistory,  // Character State History
    CharDiff,     // Differentiating Character States
    CharSubset,   // Character State Subset
    CharMiss,     // Mismatched States (one taxon)
    CharIndex,    // Index to Character States
    TaxMatch,     // Matching Taxa
    TaxMismatch,  // Mismatched Character States (taxa)
    ImageForm,
    TextForm,
};
constexpr int WindowKindCount = 11;

// A child window of the main window: the widget inside one sub-window of the frame's
// multiple-document area. The window manager creates it, and it is destroyed, not
// hidden, when it closes; its registry entry follows (app/WindowManager.h).
class TChildForm : public QWidget {
    Q_OBJECT
public:
    explicit TChildForm(WindowKind kind);
    ~TChildForm() override;

    WindowKind Kind() const { return kind_; }
    // The sub-window that frames this form; null before it is placed in the frame.
    QMdiSubWindow* SubWindow() const;

    // The list operations through which the window manager keeps the window up to date.
    // Windows without a list (or without an Or button) keep these empty ones.
    virtual void LoadList() {}
    virtual void ClearList() {}
    virtual void RepaintList() {}
    virtual void OrButtonDraw() {}

    // Called once by the window manager right after the window is placed in the frame
    // (sets the registry's open flag, then the window's own FormCreate), and once right
    // after it is first shown (FormShow).
    void Created();
    virtual void FormShow() {}

    // Outer bounds of the sub-window in the frame's child area.
    void SetBounds(int left, int top, int width, int height);
    QRect Bounds() const;
    void SetCaption(const QString& caption);
    QString Caption() const { return windowTitle(); }

protected:
    virtual void FormCreate() {}
    // Runs when the window closes, before it is destroyed.
    virtual void FormClose() {}
    void closeEvent(QCloseEvent* event) override;

private:
    void Unregister();
    WindowKind kind_;
};

}  // namespace vorn
