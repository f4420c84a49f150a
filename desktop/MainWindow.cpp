#include "desktop/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "core/session/DataPaths.h"
#include "desktop/AboutBox.h"
#include "frame/Guarded.h"
#include "core/session/KeyHistory.h"
#include "frame/Look.h"
#include "core/session/Modes.h"
#include "frame/OpenDocument.h"
#include "core/session/Settings.h"
#include "desktop/WindowKinds.h"
#include "frame/WindowManager.h"
#include "core/session/Scoring.h"
#include "windows/TitlePageDialog.h"
#include "core/session/OpenKey.h"
#include "core/key/KeyFiles.h"
#include "core/platform/Messages.h"

namespace vorn {

TMainForm* MainForm = nullptr;

namespace {

constexpr int kTopPanelHeight = 45;
constexpr int kMatchingCountWidth = 130;

QAction* Item(QMenu* menu, const char* name, const QString& caption, int key = 0) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (key) action->setShortcut(QKeySequence(key));
    return action;
}

// What opening and closing a key ask of the desktop.
class MainDesktop : public KeyDesktop {
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

MainDesktop mainDesktop;

// A window with a fixed border (the Index window) is sized to its contents.
bool HasFixedSize(const QMdiSubWindow* sub) {
    const QWidget* form = sub->widget();
    return form && form->minimumSize() == form->maximumSize();
}

}  // namespace

TMainForm::TMainForm(std::string iniPath) : iniPath_(std::move(iniPath)) {
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

    BuildToolbar();
    BuildMenus();
    MainForm = this;
    InstallWindowManager(this, WindowKinds());
    SetKeyDesktop(&mainDesktop);
    FormResize();
}

TMainForm::~TMainForm() {
    if (MainForm != this) return;
    if (&Desktop() == &mainDesktop) SetKeyDesktop(nullptr);
    UninstallWindowManager();
    MainForm = nullptr;
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
        void (TMainForm::*command)();
    };
    const Button buttons[] = {
        {&IndexButton, "IndexButton", "Index", 3, 4, "Display the Index to Character States window",
         &TMainForm::IndexClick},
        {&ScoreButton, "ScoreButton", "Score", 66, 4, "Display the Score Character States window",
         &TMainForm::ScoreClick},
        {&ActiveButton, "ActiveButton", "Active", 128, 4,
         "Display the Active Character States window", &TMainForm::ActiveClick},
        {&HistoryButton, "HistoryButton", "History", 190, 4,
         "Display the Character State History window", &TMainForm::HistoryClick},
        {&DiffButton, "DiffButton", "Different.", 253, 4,
         "Display the Differentiating Character States window", &TMainForm::DiffClick},
        {&ResetButton, "ResetButton", "Reset", 3, 24, "Reset the key", &TMainForm::ResetClick},
        {&MatchButton, "MatchButton", "Match", 66, 24, "Display the Matching Taxa window",
         &TMainForm::MatchClick},
        {&MismatchButton, "MismatchButton", "Mismatch", 128, 24,
         "Display the Mismatched Characters States window", &TMainForm::MismatchClick},
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
    MatchingCount->hide();
}

void TMainForm::BuildMenus() {
    QMenuBar* bar = menuBar();
    Key1 = bar->addMenu("&Key");
    Key1->setObjectName("Key1");
    Openkey1 = Item(Key1, "Openkey1", "&Open");
    Reset1 = Item(Key1, "Reset1", "&Reset");
    Close1 = Item(Key1, "Close1", "&Close");
    N1 = Key1->addSeparator();
    N1->setObjectName("N1");
    Exit1 = Item(Key1, "Exit1", "E&xit");
    KeyHistoryLine = Key1->addSeparator();
    KeyHistoryLine->setObjectName("KeyHistoryLine");
    KeyHistoryLine->setVisible(false);
    for (int i = 0; i < 6; ++i) {
        QAction* item = Key1->addAction(QString());
        item->setObjectName(QString("KeyHistory%1").arg(i));
        item->setVisible(false);
        ConnectGuarded(item, &QAction::triggered, this, [this, i] { KeyHistoryClick(i); });
        KeyHistoryItems[static_cast<size_t>(i)] = item;
    }
    connect(Key1, &QMenu::aboutToShow, this, &TMainForm::BuildKeyHistoryMenu);
    ConnectGuarded(Openkey1, &QAction::triggered, this, &TMainForm::Openkey1Click);
    ConnectGuarded(Reset1, &QAction::triggered, this, &TMainForm::ResetClick);
    ConnectGuarded(Close1, &QAction::triggered, this, &TMainForm::Close1Click);
    ConnectGuarded(Exit1, &QAction::triggered, this, &TMainForm::Exit1Click);

    Characters1 = bar->addMenu("&Characters");
    Characters1->setObjectName("Characters1");
    Index1 = Item(Characters1, "Index1", "&Index", Qt::Key_F2);
    Index1->setEnabled(false);
    Score1 = Item(Characters1, "Score1", "&Score", Qt::Key_F3);
    Active1 = Item(Characters1, "Active1", "&Active");
    History1 = Item(Characters1, "History1", "&History");
    Differentiating1 = Item(Characters1, "Differentiating1", "&Differentiating");
    ConnectGuarded(Index1, &QAction::triggered, this, &TMainForm::IndexClick);
    ConnectGuarded(Score1, &QAction::triggered, this, &TMainForm::ScoreClick);
    ConnectGuarded(Active1, &QAction::triggered, this, &TMainForm::ActiveClick);
    ConnectGuarded(History1, &QAction::triggered, this, &TMainForm::HistoryClick);
    ConnectGuarded(Differentiating1, &QAction::triggered, this, &TMainForm::DiffClick);

    Taxa1 = bar->addMenu("&Taxa");
    Taxa1->setObjectName("Taxa1");
    Matching1 = Item(Taxa1, "Matching1", "&Matching", Qt::Key_F4);
    Showmismatches1 = Item(Taxa1, "Showmismatches1", "&Show mismatches");
    ConnectGuarded(Matching1, &QAction::triggered, this, &TMainForm::MatchClick);
    ConnectGuarded(Showmismatches1, &QAction::triggered, this, &TMainForm::MismatchClick);

    Desktop1 = bar->addMenu("&Desktop");
    Desktop1->setObjectName("Desktop1");
    Scorestates1 = Item(Desktop1, "Scorestates1", "&Score states", Qt::Key_F5);
    Scorewithactive1 = Item(Desktop1, "Scorewithactive1", "Score with &active", Qt::Key_F6);
    Scorewithhistory1 = Item(Desktop1, "Scorewithhistory1", "Score with &history", Qt::Key_F7);
    Cascadewindows1 = Item(Desktop1, "Cascadewindows1", "&Cascade windows");
    Tilewindows1 = Item(Desktop1, "Tilewindows1", "&Tile windows");
    Closeallwindows1 = Item(Desktop1, "Closeallwindows1", "Close all &windows");
    windowListLine_ = Desktop1->addSeparator();
    windowListLine_->setVisible(false);
    ConnectGuarded(Scorestates1, &QAction::triggered, this, &TMainForm::Scorestates1Click);
    ConnectGuarded(Scorewithactive1, &QAction::triggered, this, &TMainForm::Scorewithactive1Click);
    ConnectGuarded(Scorewithhistory1, &QAction::triggered, this,
                   &TMainForm::Scorewithhistory1Click);
    ConnectGuarded(Cascadewindows1, &QAction::triggered, this, &TMainForm::Cascadewindows1Click);
    ConnectGuarded(Tilewindows1, &QAction::triggered, this, &TMainForm::Tilewindows1Click);
    ConnectGuarded(Closeallwindows1, &QAction::triggered, this, &TMainForm::Closeallwindows1Click);
    connect(Desktop1, &QMenu::aboutToShow, this, &TMainForm::BuildWindowList);

    Mode1 = bar->addMenu("&Mode");
    Mode1->setObjectName("Mode1");
    Counttoggle1 = Item(Mode1, "Counttoggle1", "Show &counts", Qt::Key_F8);
    Numbertoggle1 = Item(Mode1, "Numbertoggle1", "Show &numbers", Qt::Key_F9);
    Counttoggle1->setCheckable(true);
    Numbertoggle1->setCheckable(true);
    Taxonnames1 = Mode1->addMenu("&Taxon names");
    Taxonnames1->setObjectName("Taxonnames1");
    Scientificonly1 = Item(Taxonnames1, "Scientificonly1", "&Scientific only", Qt::Key_F11);
    Commononly1 = Item(Taxonnames1, "Commononly1", "&Common only", Qt::Key_F12);
    Bothnames1 = Item(Taxonnames1, "Bothnames1", "&Both names");
    for (QAction* item : {Scientificonly1, Commononly1, Bothnames1}) {
        item->setCheckable(true);
        ConnectGuarded(item, &QAction::triggered, this, [this, item] { HandleNameMode(item); });
    }
    Scientificonly1->setChecked(true);
    ConnectGuarded(Counttoggle1, &QAction::triggered, this, &TMainForm::Counttoggle1Click);
    ConnectGuarded(Numbertoggle1, &QAction::triggered, this, &TMainForm::Numbertoggle1Click);

    Web1 = bar->addMenu("&Web");
    Web1->setObjectName("Web1");
    KeysPage1 = Item(Web1, "KeysPage1", "VORN &keys page");
    HomePage1 = Item(Web1, "HomePage1", "VORN &home page");
    ConnectGuarded(KeysPage1, &QAction::triggered, this, &TMainForm::KeysPage1Click);
    ConnectGuarded(HomePage1, &QAction::triggered, this, &TMainForm::HomePage1Click);

    Help1 = bar->addMenu("&Help");
    Help1->setObjectName("Help1");
    Help2 = Item(Help1, "Help2", "&Help", Qt::Key_F1);
    About1 = Item(Help1, "About1", "&About VORN");
    Aboutkey1 = Item(Help1, "Aboutkey1", "About &key");
    Aboutkey1->setEnabled(false);
    ConnectGuarded(Help2, &QAction::triggered, this, &TMainForm::Help2Click);
    ConnectGuarded(About1, &QAction::triggered, this, &TMainForm::About1Click);
    ConnectGuarded(Aboutkey1, &QAction::triggered, this, &TMainForm::Aboutkey1Click);

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
    MatchingCount->move(width() - kMatchingCountWidth - 20, MatchingCount->y());
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
    ReadSettings(iniPath_);
    ShowModeChecks();
    BuildKeyHistoryMenu();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    WriteSettings(iniPath_);
    event->accept();
}

void TMainForm::ShowModeChecks() {
    Numbertoggle1->setChecked(NumberMode);
    Counttoggle1->setChecked(CountMode);
    Scientificonly1->setChecked(NameMode == ScientificNames);
    Commononly1->setChecked(NameMode == CommonNames);
    Bothnames1->setChecked(NameMode == BothNames);
}

void TMainForm::ApplyKeyMenu(const KeyMenuState& state) {
    Index1->setEnabled(state.IndexEnabled);
    IndexButton->setEnabled(state.IndexEnabled);
    Aboutkey1->setText(QString::fromStdString(state.AboutKeyCaption));
    Aboutkey1->setEnabled(state.AboutKeyEnabled);
    MatchingCount->setVisible(state.MatchingCountVisible);
}

void TMainForm::SetMatchingCountText(const QString& text) {
    MatchingCount->setText(text);
}

bool TMainForm::ShowKeyTitle() {
    TKeyTitle title(this);
    return title.exec() == QDialog::Accepted;
}

void TMainForm::KeyHistoryAdd(const std::string& path) {
    AddToKeyHistory(path);
}
void TMainForm::KeyHistoryRemove(const std::string& path) {
    RemoveFromKeyHistory(path);
}

void TMainForm::BuildKeyHistoryMenu() {
    KeyHistoryLine->setVisible(false);
    for (QAction* item : KeyHistoryItems)
        item->setVisible(false);
    int n = 1;
    for (int i = 0; i < 6; ++i) {
        const std::string& entry = KeyHistory[static_cast<size_t>(i)];
        if (entry.empty()) break;
        if (i == 0 && Key.KeyOpen && entry == OpenKeyPath) continue;
        QString name = QString::fromStdString(KeyHistoryDisplayName(i)).replace("&", "&&");
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
    if (WorkDir.empty() && InitialWorkDir.empty()) request.StartFolder = SampleKeysFolder();
    if (std::optional<std::string> path = UI().OpenFileDialog(request)) OpenKey(*path);
}

void TMainForm::ResetClick() {
    ResetKey();
}
void TMainForm::Close1Click() {
    CloseKey();
}
void TMainForm::Exit1Click() {
    close();
}
void TMainForm::KeyHistoryClick(int entry) {
    OpenKey(KeyHistoryEntry(entry));
}
void TMainForm::IndexClick() {
    ShowCharIndex();
}
void TMainForm::ScoreClick() {
    ShowCharScore();
}
void TMainForm::ActiveClick() {
    ShowCharActive();
}
void TMainForm::HistoryClick() {
    ShowCharHistory();
}
void TMainForm::DiffClick() {
    ShowCharDiff();
}
void TMainForm::MatchClick() {
    ShowTaxMatch();
}
void TMainForm::MismatchClick() {
    ShowTaxMismatch();
}
void TMainForm::Scorestates1Click() {
    LayoutScoreStates();
}
void TMainForm::Scorewithactive1Click() {
    LayoutScoreWithActive();
}
void TMainForm::Scorewithhistory1Click() {
    LayoutScoreWithHistory();
}
void TMainForm::Cascadewindows1Click() {
    // The toolkit's cascade resizes every window; one with a fixed border keeps its size.
    std::vector<std::pair<QMdiSubWindow*, QSize>> fixed;
    for (QMdiSubWindow* sub : MdiArea->subWindowList()) {
        if (HasFixedSize(sub)) fixed.emplace_back(sub, sub->size());
    }
    MdiArea->cascadeSubWindows();
    for (auto& [sub, size] : fixed)
        sub->resize(size);
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

void TMainForm::Closeallwindows1Click() {
    CloseAllWindows();
}

void TMainForm::Counttoggle1Click() {
    CountMode = !CountMode;
    Counttoggle1->setChecked(CountMode);
    RepaintCharWindows();
}

void TMainForm::Numbertoggle1Click() {
    NumberMode = !NumberMode;
    Numbertoggle1->setChecked(NumberMode);
    RepaintAllWindows();
}

void TMainForm::HandleNameMode(QAction* item) {
    NameMode = item == Scientificonly1 ? ScientificNames
               : item == Commononly1   ? CommonNames
                                       : BothNames;
    for (QAction* each : {Scientificonly1, Commononly1, Bothnames1})
        each->setChecked(false);
    ShowModeChecks();
    RepaintTaxWindows();
}

void TMainForm::KeysPage1Click() {
    OpenKeysPage();
}
void TMainForm::HomePage1Click() {
    OpenHomePage();
}

void TMainForm::Help2Click() {
    ShowInformation("Apologies!  I have not yet completed the help files.");
}

void TMainForm::About1Click() {
    TAboutBox box(this);
    box.exec();
}

void TMainForm::Aboutkey1Click() {
    if (!Key.KeyOpen) return;
    if (!ShowKeyTitle()) CloseKey();
}

}  // namespace vorn
