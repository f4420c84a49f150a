#include "desktop/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <ctime>
#include <functional>
#include <utility>
#include <vector>

#include "core/key/KeyFiles.h"
#include "core/platform/Messages.h"
#include "core/platform/Text.h"
#include "core/session/DataPaths.h"
#include "core/session/KeyHistory.h"
#include "core/session/Modes.h"
#include "core/session/OpenKey.h"
#include "core/session/Report.h"
#include "core/session/Session.h"
#include "core/session/Settings.h"
#include "desktop/AboutBox.h"
#include "desktop/LocalWebServer.h"
#include "desktop/ManualWindow.h"
#include "desktop/WebPublishing.h"
#include "desktop/WindowKinds.h"
#include "frame/BusyCursor.h"
#include "frame/CountPanel.h"
#include "frame/FocusKeeper.h"
#include "frame/Guarded.h"
#include "frame/Look.h"
#include "frame/OpenDocument.h"
#include "frame/PrintedDocument.h"
#include "frame/WindowRegistry.h"
#include "windows/TitlePageDialog.h"
#include "windows/states/HistoryWindow.h"
#include "windows/taxa/KeyCheckWindow.h"

namespace vorn {

namespace {

constexpr int kTopPanelHeight = 45;
constexpr int kMatchingCountWidth = 130;  // the count panel's least width
constexpr int kMatchingCountRightMargin = 20;
constexpr int kMatchingCountPadding = 12;  // room beside the text inside the frame

// A command that shows a window of `kind`.
std::function<void()> Shows(WindowKind kind) {
    return [kind] { Windows().ShowWindow(kind); };
}

// The name of a report's PDF document and print job.
QString ReportTitle(const Session& session) {
    return "Identification with the key " +
           QString::fromStdString(FileNameToUtf8(session.Key.KeyName));
}

// A window with a fixed border (the Index window) is sized to its contents.
bool HasFixedSize(const QMdiSubWindow* sub) {
    const QWidget* form = sub->widget();
    return form && form->minimumSize() == form->maximumSize();
}

}  // namespace

TMainForm::TMainForm(std::string iniPath, std::string journalFolder)
    : iniPath_(std::move(iniPath)) {
    setObjectName("MainForm");
    setWindowTitle("VORN");
    setWindowIcon(ProgramIcon());
    setFont(SystemFont(13));
    setGeometry(384, 144, 600, 264);

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    TopPanel = new QWidget(client);
    TopPanel->setObjectName("TopPanel");
    TopPanel->setFixedHeight(kTopPanelHeight);
    SetBackground(TopPanel, colours::Green);
    MdiArea = new QMdiArea(client);
    MdiArea->setObjectName("MdiArea");
    MdiArea->setBackground(colours::Navy);
    MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(TopPanel);
    layout->addWidget(MdiArea, 1);
    setCentralWidget(client);

    session_.Data = RunningProgramDataPaths();
    previousSession_ = SetSession(&session_);
    windows_ = std::make_unique<WindowRegistry>(*this, WindowKinds(), session_);
    journal_ = std::make_unique<JournalKeeper>(session_, std::move(journalFolder));
    webServer_ = new LocalWebServer(this);
    settingsTimer_ = new QTimer(this);
    settingsTimer_->setSingleShot(true);
    settingsTimer_->setInterval(0);
    // Written quietly: a settings file that cannot be written is told when the window
    // closes, as it always was.
    connect(settingsTimer_, &QTimer::timeout, this,
            [this] { WriteSettings(session_, iniPath_, false); });
    BuildToolbar();
    BuildMenus();
    FormResize();
}

TMainForm::~TMainForm() {
    windows_.reset();
    SetSession(previousSession_);
}

LayoutMetrics TMainForm::Metrics() const {
    return {LeftPaneWidth, RightPaneWidth, PaneHeight, UpperPaneHeight, LowerPaneHeight};
}

QWidget* TMainForm::DialogParent() const {
    return const_cast<TMainForm*>(this);
}

void TMainForm::BuildToolbar() {
    struct Button {
        QPushButton** field;
        const char* name;
        const char* caption;
        int left, top;
        const char* hint;
        std::function<void()> command;
    };
    const Button buttons[] = {
        {&IndexButton, "IndexButton", "Index", 3, 4, "Display the Index to Character States window",
         Shows(WindowKind::CharIndex)},
        {&ScoreButton, "ScoreButton", "Score", 66, 4, "Display the Score Character States window",
         Shows(WindowKind::CharScore)},
        {&ActiveButton, "ActiveButton", "Active", 128, 4,
         "Display the Active Character States window", Shows(WindowKind::CharActive)},
        {&HistoryButton, "HistoryButton", "History", 190, 4,
         "Display the Character State History window", Shows(WindowKind::CharHistory)},
        {&DiffButton, "DiffButton", "Different.", 253, 4,
         "Display the Differentiating Character States window", Shows(WindowKind::CharDiff)},
        {&BestButton, "BestButton", "Best", 316, 4, "Display the Best Character States window",
         Shows(WindowKind::CharBest)},
        {&ResetButton, "ResetButton", "Reset", 3, 24, "Reset the key",
         [this] { ResetKey(session_); }},
        {&UndoButton, "UndoButton", "Undo", 66, 24, "Take back the last change of the scoring",
         [this] { Undo1Click(); }},
        {&RedoButton, "RedoButton", "Redo", 128, 24, "Make the last change taken back again",
         [this] { Redo1Click(); }},
        {&MatchButton, "MatchButton", "Match", 190, 24, "Display the Matching Taxa window",
         Shows(WindowKind::TaxMatch)},
        {&MismatchButton, "MismatchButton", "Mismatch", 253, 24,
         "Display the Mismatched Characters States window", Shows(WindowKind::TaxMismatch)},
    };
    for (const Button& b : buttons) {
        auto* button = new QPushButton(b.caption, TopPanel);
        button->setObjectName(b.name);
        button->setGeometry(b.left, b.top, 60, 18);
        button->setFont(SmallFont(8));
        button->setToolTip(b.hint);
        button->setStatusTip(b.hint);
        button->setFocusPolicy(Qt::NoFocus);
        ConnectGuarded(button, &QPushButton::clicked, this, b.command);
        *b.field = button;
    }
    IndexButton->setEnabled(false);

    MatchingCount = new QLabel(TopPanel);
    MatchingCount->setObjectName("MatchingCount");
    MatchingCount->setGeometry(0, 13, kMatchingCountWidth, 20);
    MatchingCount->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    MatchingCount->setLineWidth(2);
    MatchingCount->setAlignment(Qt::AlignCenter);
    SetBackground(MatchingCount, colours::Aqua);
    MatchingCount->setToolTip("The number of taxa that match the selected states");
    MatchingCount->installEventFilter(this);
    MatchingCount->hide();
}

void TMainForm::BuildMenus() {
    QMenuBar* bar = menuBar();
    struct Menu {
        QMenu* TMainForm::*field;
        const char* name;
        const char* caption;
    };
    const Menu menus[] = {
        {&TMainForm::Key1, "Key1", "&Key"},
        {&TMainForm::Characters1, "Characters1", "&Characters"},
        {&TMainForm::Taxa1, "Taxa1", "&Taxa"},
        {&TMainForm::Desktop1, "Desktop1", "&Desktop"},
        {&TMainForm::Mode1, "Mode1", "&Mode"},
        {&TMainForm::Web1, "Web1", "&Web"},
        {&TMainForm::Help1, "Help1", "&Help"},
    };
    for (const Menu& m : menus) {
        this->*m.field = bar->addMenu(m.caption);
        (this->*m.field)->setObjectName(m.name);
    }
    // Added to the Mode menu once its own items are in place.
    Taxonnames1 = new QMenu("&Taxon names", this);
    Taxonnames1->setObjectName("Taxonnames1");

    // One row per item, in menu order; a row without a caption is a separator.
    struct Item {
        QMenu* TMainForm::*menu;
        QAction* TMainForm::*field;
        const char* name;
        const char* caption;
        int key;
        std::function<void()> command;
    };
    auto self = [this](void (TMainForm::*member)()) {
        return [this, member] { (this->*member)(); };
    };
    const Item items[] = {
        {&TMainForm::Key1, &TMainForm::Openkey1, "Openkey1", "&Open", 0,
         self(&TMainForm::Openkey1Click)},
        {&TMainForm::Key1, &TMainForm::Reset1, "Reset1", "&Reset", 0,
         [this] { ResetKey(session_); }},
        {&TMainForm::Key1, &TMainForm::Undo1, "Undo1", "&Undo", (Qt::CTRL | Qt::Key_Z).toCombined(),
         self(&TMainForm::Undo1Click)},
        {&TMainForm::Key1, &TMainForm::Redo1, "Redo1", "Re&do",
         (Qt::CTRL | Qt::SHIFT | Qt::Key_Z).toCombined(), self(&TMainForm::Redo1Click)},
        {&TMainForm::Key1, &TMainForm::Close1, "Close1", "&Close", 0,
         [this] { CloseKey(session_); }},
        // Key, Tolerance goes in before this item once the table is built.
        {&TMainForm::Key1, &TMainForm::Checkkey1, "Checkkey1", "Chec&k key", 0,
         [] { ShowKeyCheck(); }},
        {&TMainForm::Key1, &TMainForm::Publishfortheweb1, "Publishfortheweb1",
         "Publish for the &Web...", 0, [this] { PublishForTheWeb(session_, *webServer_); }},
        {&TMainForm::Key1, &TMainForm::Savereport1, "Savereport1", "Save re&port...", 0,
         self(&TMainForm::Savereport1Click)},
        {&TMainForm::Key1, &TMainForm::Print1, "Print1", "Pr&int...",
         (Qt::CTRL | Qt::Key_P).toCombined(), self(&TMainForm::Print1Click)},
        {&TMainForm::Key1, &TMainForm::N1, "N1", nullptr, 0, {}},
        {&TMainForm::Key1, &TMainForm::Exit1, "Exit1", "E&xit", 0, self(&TMainForm::Exit1Click)},
        {&TMainForm::Key1, &TMainForm::KeyHistoryLine, "KeyHistoryLine", nullptr, 0, {}},
        {&TMainForm::Characters1, &TMainForm::Index1, "Index1", "&Index", Qt::Key_F2,
         Shows(WindowKind::CharIndex)},
        {&TMainForm::Characters1, &TMainForm::Score1, "Score1", "&Score", Qt::Key_F3,
         Shows(WindowKind::CharScore)},
        {&TMainForm::Characters1, &TMainForm::Active1, "Active1", "&Active", 0,
         Shows(WindowKind::CharActive)},
        {&TMainForm::Characters1, &TMainForm::History1, "History1", "&History", 0,
         Shows(WindowKind::CharHistory)},
        {&TMainForm::Characters1, &TMainForm::Differentiating1, "Differentiating1",
         "&Differentiating", 0, Shows(WindowKind::CharDiff)},
        {&TMainForm::Characters1, &TMainForm::Best1, "Best1", "&Best",
         (Qt::CTRL | Qt::Key_B).toCombined(), Shows(WindowKind::CharBest)},
        {&TMainForm::Taxa1, &TMainForm::Matching1, "Matching1", "&Matching", Qt::Key_F4,
         Shows(WindowKind::TaxMatch)},
        {&TMainForm::Taxa1, &TMainForm::Showmismatches1, "Showmismatches1", "&Show mismatches", 0,
         Shows(WindowKind::TaxMismatch)},
        {&TMainForm::Taxa1, &TMainForm::Differences1, "Differences1", "&Differences", 0,
         [this] { windows_->ShowTaxonDifferences(); }},
        {&TMainForm::Desktop1, &TMainForm::Scorestates1, "Scorestates1", "&Score states",
         Qt::Key_F5, [this] { windows_->LayoutScoreStates(); }},
        {&TMainForm::Desktop1, &TMainForm::Scorewithactive1, "Scorewithactive1",
         "Score with &active", Qt::Key_F6, [this] { windows_->LayoutScoreWithActive(); }},
        {&TMainForm::Desktop1, &TMainForm::Scorewithhistory1, "Scorewithhistory1",
         "Score with &history", Qt::Key_F7, [this] { windows_->LayoutScoreWithHistory(); }},
        {&TMainForm::Desktop1, &TMainForm::Cascadewindows1, "Cascadewindows1", "&Cascade windows",
         0, self(&TMainForm::Cascadewindows1Click)},
        {&TMainForm::Desktop1, &TMainForm::Tilewindows1, "Tilewindows1", "&Tile windows", 0,
         self(&TMainForm::Tilewindows1Click)},
        {&TMainForm::Desktop1, &TMainForm::Closeallwindows1, "Closeallwindows1",
         "Close all &windows", 0, [this] { windows_->CloseAllWindows(); }},
        {&TMainForm::Mode1, &TMainForm::Counttoggle1, "Counttoggle1", "Show &counts", Qt::Key_F8,
         self(&TMainForm::Counttoggle1Click)},
        {&TMainForm::Mode1, &TMainForm::Numbertoggle1, "Numbertoggle1", "Show &numbers", Qt::Key_F9,
         self(&TMainForm::Numbertoggle1Click)},
        {&TMainForm::Taxonnames1, &TMainForm::Scientificonly1, "Scientificonly1",
         "&Scientific only", Qt::Key_F11, [this] { HandleNameMode(Scientificonly1); }},
        {&TMainForm::Taxonnames1, &TMainForm::Commononly1, "Commononly1", "&Common only",
         Qt::Key_F12, [this] { HandleNameMode(Commononly1); }},
        {&TMainForm::Taxonnames1, &TMainForm::Bothnames1, "Bothnames1", "&Both names", 0,
         [this] { HandleNameMode(Bothnames1); }},
        {&TMainForm::Web1, &TMainForm::KeysPage1, "KeysPage1", "VORN &keys page", 0,
         [] { OpenKeysPage(); }},
        {&TMainForm::Web1, &TMainForm::HomePage1, "HomePage1", "VORN &home page", 0,
         [] { OpenHomePage(); }},
        {&TMainForm::Help1, &TMainForm::Help2, "Help2", "&Help", Qt::Key_F1,
         self(&TMainForm::Help2Click)},
        {&TMainForm::Help1, &TMainForm::About1, "About1", "&About VORN", 0,
         self(&TMainForm::About1Click)},
        {&TMainForm::Help1, &TMainForm::Aboutkey1, "Aboutkey1", "About &key", 0,
         self(&TMainForm::Aboutkey1Click)},
    };
    for (const Item& item : items) {
        QMenu* menu = this->*item.menu;
        QAction* action = item.caption ? menu->addAction(item.caption) : menu->addSeparator();
        action->setObjectName(item.name);
        if (item.key) action->setShortcut(QKeySequence(item.key));
        if (item.command) ConnectGuarded(action, &QAction::triggered, this, item.command);
        this->*item.field = action;
    }
    Mode1->addMenu(Taxonnames1);

    Tolerance1 = new QMenu("&Tolerance", this);
    Tolerance1->setObjectName("Tolerance1");
    Key1->insertMenu(Checkkey1, Tolerance1);
    auto* tolerances = new QActionGroup(this);
    for (int k = 0; k <= kMenuTolerance; ++k) {
        QAction* item = Tolerance1->addAction(QString("&%1").arg(k));
        item->setObjectName(QString("ToleranceItem%1").arg(k));
        item->setCheckable(true);
        item->setStatusTip(QString("Let a taxon match with up to %1 mismatched states").arg(k));
        tolerances->addAction(item);
        ConnectGuarded(item, &QAction::triggered, this, [this, k] { ToleranceClick(k); });
        ToleranceItems[static_cast<size_t>(k)] = item;
    }
    ToleranceItems[0]->setChecked(true);
    // The tolerance may have been changed elsewhere (the count panel, the settings).
    connect(Tolerance1, &QMenu::aboutToShow, this, &TMainForm::ShowModeChecks);

    KeyHistoryLine->setVisible(false);
    for (int i = 0; i < kKeyHistorySize; ++i) {
        QAction* item = Key1->addAction(QString());
        item->setObjectName(QString("KeyHistory%1").arg(i));
        item->setVisible(false);
        ConnectGuarded(item, &QAction::triggered, this, [this, i] { KeyHistoryClick(i); });
        KeyHistoryItems[static_cast<size_t>(i)] = item;
    }
    connect(Key1, &QMenu::aboutToShow, this, &TMainForm::BuildKeyHistoryMenu);

    windowListLine_ = Desktop1->addSeparator();
    windowListLine_->setVisible(false);
    connect(Desktop1, &QMenu::aboutToShow, this, &TMainForm::BuildWindowList);

    // Ctrl+Y as well, as many programs have it.
    Redo1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    Index1->setEnabled(false);
    Aboutkey1->setEnabled(false);
    Publishfortheweb1->setEnabled(false);
    Savereport1->setEnabled(false);
    Print1->setEnabled(false);
    ShowUndoState();
    for (QAction* item : {Counttoggle1, Numbertoggle1, Scientificonly1, Commononly1, Bothnames1})
        item->setCheckable(true);
    Scientificonly1->setChecked(true);

    // Function keys work wherever the focus is inside the frame, child windows included.
    for (QAction* action : findChildren<QAction*>()) {
        if (!action->shortcut().isEmpty()) {
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
        }
    }
}

QSize TMainForm::ClientSize() const {
    return centralWidget()->size();
}

void TMainForm::FormResize() {
    QSize client = ClientSize();
    LeftPaneWidth = client.width() / 3;
    RightPaneWidth = client.width() - LeftPaneWidth - 4;
    PaneHeight = client.height() - TopPanel->height() - 4;
    UpperPaneHeight = PaneHeight / 2;
    LowerPaneHeight = PaneHeight - UpperPaneHeight;
    MatchingCount->move(width() - MatchingCount->width() - kMatchingCountRightMargin,
                        MatchingCount->y());
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TMainForm::FormShow() {
    ReadSettings(session_, iniPath_);
    ShowModeChecks();
    BuildKeyHistoryMenu();
}

void TMainForm::NoteSettingsChanged() {
    // Not before the settings were read: writing then would lose them.
    if (shown_) settingsTimer_->start();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    settingsTimer_->stop();
    WriteSettings(session_, iniPath_);
    journal_->Finish();
    event->accept();
}

void TMainForm::ShowModeChecks() {
    Numbertoggle1->setChecked(session_.NumberMode);
    Counttoggle1->setChecked(session_.CountMode);
    Scientificonly1->setChecked(session_.NameMode == ScientificNames);
    Commononly1->setChecked(session_.NameMode == CommonNames);
    Bothnames1->setChecked(session_.NameMode == BothNames);
    for (size_t k = 0; k < ToleranceItems.size(); ++k)
        ToleranceItems[k]->setChecked(session_.ToleranceMode == static_cast<int>(k));
}

void TMainForm::ShowKeyState() {
    // An "&" of the key's name is shown, not taken for an access key.
    QString name = QString::fromStdString(session_.Key.KeyName);
    setWindowTitle(session_.Key.KeyOpen ? "VORN - " + name : QString("VORN"));
    name.replace("&", "&&");
    bool index = !session_.Key.IndFileName.empty();
    Index1->setEnabled(index);
    IndexButton->setEnabled(index);
    Aboutkey1->setText(session_.Key.KeyOpen ? "About the " + name + " &key"
                                            : QString("About the &key"));
    Aboutkey1->setEnabled(session_.Key.KeyOpen);
    Publishfortheweb1->setEnabled(session_.Key.KeyOpen);
    Savereport1->setEnabled(session_.Key.KeyOpen);
    Print1->setEnabled(session_.Key.KeyOpen);
    MatchingCount->setVisible(session_.Key.KeyOpen);
    // The open key and the key history are settings; a closed key leaves nothing to restore.
    NoteSettingsChanged();
    journal_->Record();
}

void TMainForm::SetMatchingCountText(const QString& text) {
    MatchingCount->setText(text);
    int needed = MatchingCount->fontMetrics().horizontalAdvance(text) +
                 2 * MatchingCount->frameWidth() + kMatchingCountPadding;
    int w = std::max(kMatchingCountWidth, needed);
    MatchingCount->setGeometry(width() - w - kMatchingCountRightMargin, MatchingCount->y(), w,
                               MatchingCount->height());
    bool offers = CountPanelOffersTolerance(session_);
    MatchingCount->setCursor(offers ? Qt::PointingHandCursor : Qt::ArrowCursor);
    MatchingCount->setToolTip(offers ? "Click to allow one more mismatched state"
                                     : "The number of taxa that match the selected states");
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == MatchingCount && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Guarded([this] { MatchingCountClick(); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::MatchingCountClick() {
    if (CountPanelOffersTolerance(session_)) ToleranceClick(session_.Tolerance() + 1);
}

void TMainForm::ToleranceClick(int tolerance) {
    session_.ChangeTolerance(tolerance);
    ShowModeChecks();
    NoteSettingsChanged();
    journal_->Record();
}

bool TMainForm::ConfirmTitlePage() {
    FocusKeeper keeper;
    TKeyTitle title(this);
    return title.exec() == QDialog::Accepted;
}

void TMainForm::BuildKeyHistoryMenu() {
    KeyHistoryLine->setVisible(false);
    for (QAction* item : KeyHistoryItems)
        item->setVisible(false);
    int n = 1;
    for (int i = 0; i < kKeyHistorySize; ++i) {
        const std::string& entry = session_.KeyHistory[static_cast<size_t>(i)];
        if (entry.empty()) break;
        if (i == 0 && session_.Key.KeyOpen && entry == session_.OpenKeyPath) continue;
        QString name = QString::fromStdString(KeyHistoryDisplayName(session_.KeyHistory, i))
                           .replace("&", "&&");
        QAction* item = KeyHistoryItems[static_cast<size_t>(i)];
        item->setText(QString("&%1  %2").arg(n).arg(name));
        item->setVisible(true);
        KeyHistoryLine->setVisible(true);
        ++n;
    }
}

void TMainForm::BuildWindowList() {
    for (QAction* action : Desktop1->actions()) {
        if (action->property("windowList").toBool()) {
            Desktop1->removeAction(action);
            action->deleteLater();
        }
    }
    QList<QMdiSubWindow*> windows = MdiArea->subWindowList();
    windowListLine_->setVisible(!windows.isEmpty());
    int n = 1;
    for (QMdiSubWindow* sub : windows) {
        QString title = sub->windowTitle().replace("&", "&&");
        QAction* action = Desktop1->addAction(n < 10 ? QString("&%1 %2").arg(n).arg(title) : title);
        action->setProperty("windowList", true);
        action->setCheckable(true);
        action->setChecked(sub == MdiArea->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, sub] {
            if (sub->isMinimized()) sub->showNormal();
            MdiArea->setActiveSubWindow(sub);
        });
        ++n;
    }
}

void TMainForm::Openkey1Click() {
    FileDialogRequest request;
    request.Title = "Open Key";
    request.Filter = "VORN keys (*.des)";
    request.MustExist = true;
    // Until the user has a working directory, start where the sample keys are.
    if (session_.WorkDir.empty() && session_.InitialWorkDir.empty())
        request.StartFolder = SampleKeysFolder(session_.Data);
    if (std::optional<std::string> path = UI().OpenFileDialog(request)) OpenKey(session_, *path);
}

void TMainForm::Undo1Click() {
    session_.Undo();
}

void TMainForm::Redo1Click() {
    session_.Redo();
}

void TMainForm::StepsChanged() {
    ShowUndoState();
    journal_->Record();
}

void TMainForm::ShowUndoState() {
    // The step's words are read from the key; one that cannot be read is named by its verb.
    auto words = [this](const UndoStep& step) {
        std::string text;
        try {
            text = StepText(step, session_.Key);
        } catch (const std::exception&) {
            UndoStep verb = step;
            verb.State = -1;
            text = StepText(verb, session_.Key);
        }
        return QString::fromStdString(KeyTextToUtf8(text)).replace("&", "&&");
    };
    const UndoSteps& steps = session_.Steps();
    bool undo = session_.Key.KeyOpen && steps.CanUndo();
    bool redo = session_.Key.KeyOpen && steps.CanRedo();
    Undo1->setText(undo ? "&Undo " + words(steps.NextUndo()) : QString("&Undo"));
    Redo1->setText(redo ? "Re&do " + words(steps.NextRedo()) : QString("Re&do"));
    Undo1->setEnabled(undo);
    Redo1->setEnabled(redo);
    UndoButton->setEnabled(undo);
    RedoButton->setEnabled(redo);
    UndoButton->setToolTip(undo ? "Undo " + words(steps.NextUndo()).replace("&&", "&")
                                : QString("Take back the last change of the scoring"));
    RedoButton->setToolTip(redo ? "Redo " + words(steps.NextRedo()).replace("&&", "&")
                                : QString("Make the last change taken back again"));
}

std::string TMainForm::ReportOf(const std::string& historyFileName, std::vector<int32_t>& listed) {
    auto* history = windows_->OpenWindow<TCharHistory>(WindowKind::CharHistory);
    listed = history ? history->ListedStates() : windows_->ScoredOrder();
    ReportRequest request;
    request.Listed = listed;
    request.HistoryFileName = historyFileName;
    request.Made = std::time(nullptr);
    return ReportHtml(session_, request);
}

void TMainForm::Savereport1Click() {
    if (!session_.Key.KeyOpen) return;
    FileDialogRequest request;
    request.Title = "Save Report";
    request.Filter = "Web page (*.html);;PDF document (*.pdf)";
    request.MustExist = false;
    request.ConfirmOverwrite = true;
    request.DefaultSuffix = "html";
    std::optional<std::string> file = UI().SaveFileDialog(request);
    if (!file) return;
    if (std::string why = WhyNoReportFile(*file); !why.empty()) {
        ShowError(why);
        return;
    }
    BusyCursor busy;
    std::string history = ReportHistoryFileName(*file);
    std::vector<int32_t> listed;
    std::string html = ReportOf(history.substr(history.rfind('/') + 1), listed);
    if (EndsWithIgnoringCase(*file, ".pdf")) {
        QByteArray pdf = PdfOfHtml(html, ReportTitle(session_));
        SaveReportFiles(session_, *file, std::string(pdf.constData(), pdf.size()), listed);
    } else {
        SaveReportFiles(session_, *file, html, listed);
    }
}

void TMainForm::Print1Click() {
    if (!session_.Key.KeyOpen) return;
    std::vector<int32_t> listed;
    PrintRequest request;
    request.Html = ReportOf("", listed);
    request.Title = ReportTitle(session_).toStdString();
    UI().PrintDocument(request);
}

void TMainForm::Exit1Click() {
    close();
}
void TMainForm::KeyHistoryClick(int entry) {
    OpenKey(session_, KeyHistoryEntry(session_.KeyHistory, entry));
}
void TMainForm::Cascadewindows1Click() {
    // Each window a title bar lower and to the right of the one behind it, in stacking
    // order, so every caption shows. A window of fixed size (the Index window) keeps its
    // size; the others keep theirs as far as the area allows from their new place, and
    // never shrink below what their buttons and a few lines need (the toolkit's own
    // cascade gives every window one small size, and cuts their contents off).
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : MdiArea->subWindowList(QMdiArea::StackingOrder)) {
        if (sub->isVisible() && !sub->isMinimized()) windows.append(sub);
    }
    if (windows.isEmpty()) return;
    windows_->ScrollHome();
    QMdiSubWindow* active = MdiArea->activeSubWindow();
    const QSize area = MdiArea->viewport()->size();
    const int step = std::max(16, windows.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight,
                                                                        nullptr, windows.first()));
    int place = 0;
    for (QMdiSubWindow* sub : windows) {
        if (sub->isMaximized()) sub->showNormal();
        QSize size = sub->size();
        if (!HasFixedSize(sub)) {
            QSize need = sub->minimumSizeHint();
            if (auto* form = qobject_cast<TChildForm*>(sub->widget())) {
                need = need.expandedTo(form->ContentMinimum() + (sub->size() - form->size()));
            }
            // Back to the top left when the next place leaves too little room.
            QPoint at(place * step, place * step);
            if (place > 0 &&
                (at.x() + need.width() > area.width() || at.y() + need.height() > area.height())) {
                place = 0;
            }
            size = size.boundedTo(area - QSize(place * step, place * step)).expandedTo(need);
        }
        sub->setGeometry(place * step, place * step, size.width(), size.height());
        sub->raise();
        ++place;
    }
    if (active) MdiArea->setActiveSubWindow(active);
}

void TMainForm::Tilewindows1Click() {
    // Horizontal tiling: one above the other, each the full width of the frame.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : MdiArea->subWindowList()) {
        if (sub->isVisible() && !sub->isMinimized()) windows.append(sub);
    }
    if (windows.isEmpty()) return;
    QSize area = MdiArea->viewport()->size();
    int height = area.height() / static_cast<int>(windows.size());
    int top = 0;
    for (QMdiSubWindow* sub : windows) {
        if (sub->isMaximized()) sub->showNormal();
        int h = sub == windows.last() ? area.height() - top : height;
        if (HasFixedSize(sub)) {
            sub->move(0, top);
        } else {
            sub->setGeometry(0, top, area.width(), h);
        }
        top += height;
    }
}

void TMainForm::Counttoggle1Click() {
    session_.CountMode = !session_.CountMode;
    Counttoggle1->setChecked(session_.CountMode);
    windows_->RepaintCharWindows();
    NoteSettingsChanged();
}

void TMainForm::Numbertoggle1Click() {
    session_.NumberMode = !session_.NumberMode;
    Numbertoggle1->setChecked(session_.NumberMode);
    windows_->RepaintAllWindows();
    NoteSettingsChanged();
}

void TMainForm::HandleNameMode(QAction* item) {
    session_.NameMode = item == Scientificonly1 ? ScientificNames
                        : item == Commononly1   ? CommonNames
                                                : BothNames;
    for (QAction* each : {Scientificonly1, Commononly1, Bothnames1})
        each->setChecked(false);
    ShowModeChecks();
    windows_->RepaintTaxWindows();
    NoteSettingsChanged();
}

void TMainForm::Help2Click() {
    // The section of the current child window, else the manual's contents.
    std::string target = "index.html";
    if (QMdiSubWindow* sub = MdiArea->currentSubWindow()) {
        if (auto* form = qobject_cast<TChildForm*>(sub->widget())) {
            target = WindowKinds().Rows[static_cast<size_t>(form->Kind())].HelpAnchor;
        }
    }
    QUrl address = ManualAddress(target);
    if (address.isEmpty()) {
        ShowInformation("Apologies!  I have not yet completed the help files.");
        return;
    }
    if (!Manual) Manual = new TManualForm(this);
    Manual->ShowPage(address);
}

void TMainForm::About1Click() {
    FocusKeeper keeper;
    TAboutBox box(this);
    box.exec();
}

void TMainForm::Aboutkey1Click() {
    if (!session_.Key.KeyOpen) return;
    if (!ConfirmTitlePage()) CloseKey(session_);
}

}  // namespace vorn
