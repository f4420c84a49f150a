#pragma once

#include <QString>

class QMdiArea;
class QWidget;

namespace vorn {

// Where the child windows take their places: the left column for taxa, the right one for
// states; recomputed by the frame whenever it is resized.
struct LayoutMetrics {
    int LeftPaneWidth = 0;
    int RightPaneWidth = 0;
    int PaneHeight = 0;
    int UpperPaneHeight = 0;
    int LowerPaneHeight = 0;
};

// What the window registry needs of the main window: the frame, and what only the main
// window can do when the core tells of a key or of the steps of Undo. The main window
// hands itself to its registry; no child window ever reaches the main window itself.
class WindowFrame {
public:
    virtual ~WindowFrame() = default;
    // The multiple-document area that holds every child window.
    virtual QMdiArea* ChildArea() const = 0;
    virtual LayoutMetrics Metrics() const = 0;
    // The parent of modal dialogs and message boxes.
    virtual QWidget* DialogParent() const = 0;
    virtual void SetMatchingCountText(const QString& text) = 0;
    // A key opened or closed: the caption, the key-dependent menu items and the count
    // panel follow the open key.
    virtual void ShowKeyState() = 0;
    // Shows the open key's title page modally; true when the user confirms it with OK.
    virtual bool ConfirmTitlePage() = 0;
    // The steps of Undo and Redo changed (a step taken, undone, redone, or the steps
    // forgotten): the Undo and Redo items follow, and whatever keeps the identification.
    virtual void StepsChanged() = 0;
};

}  // namespace vorn
