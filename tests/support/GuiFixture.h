#pragma once

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <string>

#include "app/FMain.h"
#include "app/KeyHistory.h"
#include "app/Modes.h"
#include "app/QtUserInterface.h"
#include "app/WindowManager.h"
#include "engine/Manage.h"
#include "key/Manage.h"
#include "key/Util.h"
#include "platform/Directory.h"
#include "tests/support/ScriptedUserInterface.h"
#include "tools/KeyWriter.h"

namespace vorn::testing {

// Runs `answer` on the next modal dialog as soon as it is shown (for example a title page
// to accept or close). The dialog is found as the application's active modal widget.
inline void AnswerNextDialog(std::function<void(QDialog*)> answer, int delay = 0) {
    QTimer::singleShot(delay, [answer] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            answer(dialog);
        } else {
            AnswerNextDialog(answer, 1);
        }
    });
}
inline void AcceptNextDialog() {
    AnswerNextDialog([](QDialog* d) { d->accept(); });
}

// A main window with its own settings folder and the scripted message interface, as the
// program has it after start-up; the program-wide state is put back afterwards.
class GuiFixture {
public:
    GuiFixture() : start_(CurrentDirectory()) {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(Dir.Path() + "config"));
        NumberMode = CountMode = false;
        NameMode = ScientificNames;
        KeyHistory = {};
        Main = new TMainForm(Dir.Path() + "config/vorn/VORNWIN.INI");
        Main->resize(1200, 800);
        Main->show();
    }
    ~GuiFixture() {
        CloseKey();
        CloseAllWindows();
        delete Main;
        ClearAllScores();
        ChangeToDirectory(start_);
    }
    GuiFixture(const GuiFixture&) = delete;
    GuiFixture& operator=(const GuiFixture&) = delete;

    // Writes a key into the fixture's folder; returns its .DES path.
    std::string Write(const KeySpec& spec) { return WriteKey(Dir.Path(), spec); }
    // Opens a key and accepts its title page.
    void OpenAccepted(const std::string& desPath) {
        AcceptNextDialog();
        OpenKey(desPath);
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
// handling is the program's.
#define VORN_QTEST_MAIN(TestClass)               \
    int main(int argc, char** argv) {            \
        vorn::VornApplication app(argc, argv);   \
        app.setAttribute(Qt::AA_Use96Dpi, true); \
        TestClass test;                          \
        QTEST_SET_MAIN_SOURCE_PATH               \
        return QTest::qExec(&test, argc, argv);  \
    }
