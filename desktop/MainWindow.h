#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>
#include <string>

#include "core/platform/JournalFile.h"
#include "core/session/Session.h"
#include "desktop/JournalKeeper.h"
#include "frame/WindowFrame.h"
#include "frame/WindowRegistry.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QPushButton;
class QTimer;

namespace vorn {

class LocalWebServer;
class TManualForm;

// The frame of the program: a multiple-document area that holds every child window, the
// toolbar, the matching count, the menus and the layout metrics from which child windows
// take their places. Menu items and toolbar buttons that show a window call the window
// manager's ShowWindow directly; the other commands go to the key operations, the
// settings, and the Help and Web commands. It is the frame the window manager places
// child windows in; they never see it themselves.
class TMainForm : public QMainWindow, public WindowFrame {
    Q_OBJECT
public:
    // `iniPath`: the settings file read when the window is first shown, written when a
    // setting changes and when it closes. `journalFolder`: where the journal of the
    // identification is kept (empty: none is kept).
    explicit TMainForm(std::string iniPath, std::string journalFolder = StateFolder());
    ~TMainForm() override;

    QMdiArea* MdiArea = nullptr;
    QWidget* TopPanel = nullptr;
    QPushButton *IndexButton, *ScoreButton, *ActiveButton, *HistoryButton, *DiffButton, *BestButton,
        *ResetButton, *UndoButton, *RedoButton, *MatchButton, *MismatchButton;
    QLabel* MatchingCount = nullptr;

    QMenu *Key1, *Characters1, *Taxa1, *Desktop1, *Mode1, *Taxonnames1, *Web1, *Help1;
    QMenu* Tolerance1 = nullptr;  // Key, Tolerance: the mismatches a matching taxon may have
    QAction *Openkey1, *Reset1, *Undo1, *Redo1, *Close1, *Checkkey1, *Publishfortheweb1,
        *Savereport1, *Print1, *N1, *Exit1, *KeyHistoryLine;
    std::array<QAction*, kMenuTolerance + 1> ToleranceItems{};  // 0, 1, 2, 3
    std::array<QAction*, kKeyHistorySize> KeyHistoryItems{};    // KeyHistory0, KeyHistory1...
    QAction *Index1, *Score1, *Active1, *History1, *Differentiating1, *Best1;
    QAction *Matching1, *Showmismatches1, *Differences1;
    QAction *Scorestates1, *Scorewithactive1, *Scorewithhistory1, *Cascadewindows1, *Tilewindows1,
        *Closeallwindows1;
    QAction *Counttoggle1, *Numbertoggle1, *Scientificonly1, *Commononly1, *Bothnames1;
    QAction *KeysPage1, *HomePage1;
    QAction *Help2, *About1, *Aboutkey1;
    // The user's manual, made when Help is first asked for; null until then.
    TManualForm* Manual = nullptr;

    // Layout metrics, recomputed on creation and on every resize.
    int LeftPaneWidth = 0;
    int RightPaneWidth = 0;
    int PaneHeight = 0;
    int UpperPaneHeight = 0;
    int LowerPaneHeight = 0;

    // The client area: the toolbar and the multiple-document area below it.
    QSize ClientSize() const;

    // What the window manager asks of the frame.
    QMdiArea* ChildArea() const override { return MdiArea; }
    LayoutMetrics Metrics() const override;
    QWidget* DialogParent() const override;
    // The count panel grows to the left to fit its text; its right edge stays.
    void SetMatchingCountText(const QString& text) override;
    // The caption, Index1, the IndexButton, Aboutkey1 and the count panel, from the key.
    void ShowKeyState() override;
    bool ConfirmTitlePage() override;
    // Undo1, Redo1 and their buttons: enabled when there is a step to take, their text
    // naming it.
    void ShowUndoState();
    // The Undo items follow the steps, and the journal the identification.
    void StepsChanged() override;

    // Sets the captions and visibility of the history items of the Key menu.
    void BuildKeyHistoryMenu();
    // Sets the check marks of the Mode menu and of Key, Tolerance from the modes.
    void ShowModeChecks();
    // Reads the settings; run once, when the window is first shown.
    void FormShow();
    void FormResize();

    const std::string& SettingsPath() const { return iniPath_; }
    JournalKeeper& Journal() { return *journal_; }
    // A setting changed (a mode, the tolerance, the open key): the settings file is written
    // as soon as the action that changed it has been shown, once for changes that come
    // together, so that a VORN that is killed keeps them.
    void NoteSettingsChanged();

public slots:
    void Openkey1Click();
    void Undo1Click();
    void Redo1Click();
    // The report of the identification, saved as a web page or a PDF document (by the
    // extension chosen) with its history list beside it, or handed to the print dialog.
    void Savereport1Click();
    void Print1Click();
    void Exit1Click();
    void KeyHistoryClick(int entry);
    void Cascadewindows1Click();
    void Tilewindows1Click();
    void Counttoggle1Click();
    void Numbertoggle1Click();
    void HandleNameMode(QAction* item);
    // Applies a tolerance chosen on the menu or offered by the count panel.
    void ToleranceClick(int tolerance);
    // A click on the count panel allows one more mismatch when the panel offers it.
    void MatchingCountClick();
    // Opens the manual at the current child window's section (the contents when there
    // is none); an installation without the manual apologises.
    void Help2Click();
    void About1Click();
    void Aboutkey1Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Clicks on the count panel, which is a label.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolbar();
    void BuildMenus();
    void BuildWindowList();
    // The report's HTML, and the history list it repeats: the History window's when it is
    // open, else the states in the order they were first scored.
    std::string ReportOf(const std::string& historyFileName, std::vector<int32_t>& listed);

    // The session first, so that it outlives the registry and the windows that ask it.
    Session session_;
    Session* previousSession_ = nullptr;
    std::unique_ptr<WindowRegistry> windows_;
    std::unique_ptr<JournalKeeper> journal_;
    // Serves a key published from here to this computer's browser.
    LocalWebServer* webServer_ = nullptr;
    QTimer* settingsTimer_ = nullptr;
    std::string iniPath_;
    bool shown_ = false;
    QAction* windowListLine_ = nullptr;
};

}  // namespace vorn
