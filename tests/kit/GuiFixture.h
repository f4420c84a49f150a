#pragma once

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <string>

#include "core/key/KeyFiles.h"
#include "core/platform/Directory.h"
#include "core/session/KeyHistory.h"
#include "core/session/Modes.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "desktop/MainWindow.h"
#include "frame/QtUserInterface.h"
#include "frame/VornListBox.h"
#include "frame/WindowRegistry.h"
#include "tests/kit/ScriptedUserInterface.h"
#include "tests/kit/TestKeys.h"

namespace vorn::testing {

// Runs `answer` on the next modal dialog as soon as it is shown (for example a title page
// to accept or close), found as the application's active modal widget. Returns the poll,
// which the caller may stop when no dialog is to come any more.
inline QPointer<QTimer> AnswerNextDialog(std::function<void(QDialog*)> answer) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(dialog);
        }
    });
    poll->start(1);
    return poll;
}
inline QPointer<QTimer> AcceptNextDialog() {
    return AnswerNextDialog([](QDialog* d) { d->accept(); });
}

// Opens a key and accepts its title page; a key that does not get as far as its title
// page leaves no poll behind to answer some later dialog.
inline void OpenKeyAccepted(const std::string& desPath) {
    QPointer<QTimer> poll = AcceptNextDialog();
    OpenKey(CurrentSession(), desPath);
    if (poll) poll->deleteLater();
}

// A mouse click on a row of a list, as the user highlights an item.
inline void ClickRow(TVornListBox* list, int row) {
    QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

// A double-click on a row (with the click before it that a real double-click has).
inline void DoubleClickRow(TVornListBox* list, int row) {
    QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

// A main window with its own settings folder, its own fresh session and the scripted
// message interface, as the program has it after start-up.
class GuiFixture {
public:
    GuiFixture() : start_(CurrentDirectory()) {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(Dir.Path() + "config"));
        Main = new TMainForm(Dir.Path() + "config/vorn/VORNWIN.INI", Dir.Path() + "state/");
        Main->resize(1200, 800);
        Main->show();
    }
    ~GuiFixture() {
        CloseKey(CurrentSession());
        Windows().CloseAllWindows();
        delete Main;
        ChangeToDirectory(start_);
    }
    GuiFixture(const GuiFixture&) = delete;
    GuiFixture& operator=(const GuiFixture&) = delete;

    // Writes a key into the fixture's folder; returns its .DES path.
    std::string Write(const KeySpec& keySpec) { return WriteKey(Dir.Path(), keySpec); }
    // Opens a key and accepts its title page.
    void OpenAccepted(const std::string& desPath) { OpenKeyAccepted(desPath); }
    // The texts of the messages shown so far.
    QStringList MessageTexts() const {
        QStringList texts;
        for (const std::string& text : Ui.Texts())
            texts << QString::fromStdString(text);
        return texts;
    }
    // The titles of the open sub-windows, in the frame's order.
    QStringList WindowTitles() const {
        QStringList titles;
        for (QMdiSubWindow* sub : Main->MdiArea->subWindowList())
            titles << sub->windowTitle();
        return titles;
    }

    TempDir Dir;
    ScriptedUserInterface Ui;
    TMainForm* Main = nullptr;

private:
    std::string start_;
};

}  // namespace vorn::testing

// Like QTEST_MAIN, with the program's own application class, so the general error
// handling is the program's; and a folder of the test's own for journals, so that no
// test touches the user's.
#define VORN_QTEST_MAIN(TestClass)                                          \
    int main(int argc, char** argv) {                                       \
        vorn::testing::TempDir state;                                       \
        qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state.Path())); \
        vorn::VornApplication app(argc, argv);                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                            \
        TestClass test;                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                          \
        return QTest::qExec(&test, argc, argv);                             \
    }
