// The main window: menus and shortcuts, toolbar, layout metrics, display modes, the
// matching count and the key-dependent state, driven through the real menu items.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include "tests/support/GuiFixture.h"

using namespace vorn;
using vorn::testing::GuiFixture;
using vorn::testing::KeySpec;

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    QAction* Action(const char* name) {
        QAction* action = f->Main->findChild<QAction*>(name);
        if (!action) qFatal("no action %s", name);
        return action;
    }

    KeySpec SmallKey() {
        KeySpec spec;
        spec.Name = "OAKS";
        spec.TitleLines = {"Oaks of Europe"};
        spec.Taxa = {"Quercus robur", "Quercus ilex"};
        spec.States = {"Leaves: evergreen", "Leaves: deciduous"};
        spec.Codes = {"-+", "+-"};
        return spec;
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void menuItemsMatchTheTable() {
        struct Row {
            const char* name;
            const char* caption;
            QKeySequence shortcut;
            bool enabled;
        };
        const Row rows[] = {
            {"Openkey1", "&Open", {}, true},
            {"Reset1", "&Reset", {}, true},
            {"Close1", "&Close", {}, true},
            {"Exit1", "E&xit", {}, true},
            {"Index1", "&Index", QKeySequence(Qt::Key_F2), false},
            {"Score1", "&Score", QKeySequence(Qt::Key_F3), true},
            {"Active1", "&Active", {}, true},
            {"History1", "&History", {}, true},
            {"Differentiating1", "&Differentiating", {}, true},
            {"Matching1", "&Matching", QKeySequence(Qt::Key_F4), true},
            {"Showmismatches1", "&Show mismatches", {}, true},
            {"Scorestates1", "&Score states", QKeySequence(Qt::Key_F5), true},
            {"Scorewithactive1", "Score with &active", QKeySequence(Qt::Key_F6), true},
            {"Scorewithhistory1", "Score with &history", QKeySequence(Qt::Key_F7), true},
            {"Cascadewindows1", "&Cascade windows", {}, true},
            {"Tilewindows1", "&Tile windows", {}, true},
            {"Closeallwindows1", "Close all &windows", {}, true},
            {"Counttoggle1", "Show &counts", QKeySequence(Qt::Key_F8), true},
            {"Numbertoggle1", "Show &numbers", QKeySequence(Qt::Key_F9), true},
            {"Scientificonly1", "&Scientific only", QKeySequence(Qt::Key_F11), true},
            {"Commononly1", "&Common only", QKeySequence(Qt::Key_F12), true},
            {"Bothnames1", "&Both names", {}, true},
            {"Help2", "&Help", QKeySequence(Qt::Key_F1), true},
            {"About1", "&About VORN", {}, true},
            {"Aboutkey1", "About &key", {}, false},
        };
        for (const Row& row : rows) {
            QAction* action = Action(row.name);
            QCOMPARE(action->text(), QString(row.caption));
            QCOMPARE(action->shortcut(), row.shortcut);
            QCOMPARE(action->isEnabled(), row.enabled);
        }
        QStringList menus;
        for (QAction* menu : f->Main->menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, QStringList({"&Key", "&Characters", "&Taxa", "&Desktop", "&Mode", "&Web",
                                     "&Help"}));
        QVERIFY(Action("Scientificonly1")->isChecked());
        QVERIFY(!Action("KeyHistoryLine")->isVisible());
    }
};

VORN_QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
