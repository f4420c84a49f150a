// Makes the README's picture of VORN identifying on a key: the main window filling the
// screen, the key open, a history list replayed through the real scoring, the Score and
// Active windows and the Matching Taxa window; then the screen is grabbed. Run under a
// virtual display by tools/screenshot.sh.
#include <QDialog>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "core/key/KeyFiles.h"
#include "core/platform/Directory.h"
#include "core/session/HistoryList.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "desktop/MainWindow.h"
#include "frame/QtUserInterface.h"
#include "frame/WindowRegistry.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: vorn-screenshot KEY.DES HISTORY.HIS PICTURE.PNG\n", stderr);
        return 2;
    }
    std::string key = vorn::AbsolutePath(argv[1]);
    std::string history = vorn::AbsolutePath(argv[2]);
    // Opening the key makes its folder current.
    QString picture = QString::fromStdString(vorn::AbsolutePath(argv[3]));
    vorn::VornApplication app(argc, argv);
    QCoreApplication::setApplicationName("VORN");
    vorn::QtUserInterface ui;
    vorn::SetUserInterface(&ui);
    QTemporaryDir settings;  // a first start: no settings of the user's are read or written

    auto* mainForm = new vorn::TMainForm((settings.path() + "/VORNWIN.INI").toStdString(), "");
    QScreen* screen = QGuiApplication::primaryScreen();
    mainForm->setGeometry(screen->availableGeometry());
    mainForm->show();

    // The key's title page is a modal dialog: confirm it as the user does.
    QTimer confirm;
    QObject::connect(&confirm, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    confirm.start(50);
    vorn::Session& session = vorn::CurrentSession();
    vorn::OpenKey(session, key);
    confirm.stop();
    if (!session.Key.KeyOpen) return 1;

    vorn::Windows().LayoutScoreWithActive();
    vorn::LoadHistoryList(session, history, nullptr);
    vorn::Windows().ShowWindow(vorn::WindowKind::TaxMatch);

    int status = 1;
    QTimer::singleShot(1000, [&] {
        QPixmap shot = screen->grabWindow(0);
        status = shot.save(picture, "PNG") ? 0 : 1;
        if (status) std::fprintf(stderr, "vorn-screenshot: cannot write %s\n", qPrintable(picture));
        mainForm->close();
    });
    app.exec();
    delete mainForm;
    vorn::SetUserInterface(nullptr);
    return status;
}
