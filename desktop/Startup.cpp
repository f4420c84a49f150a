#include "desktop/Startup.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "core/session/Settings.h"
#include "desktop/MainWindow.h"
#include "desktop/SplashScreen.h"
#include "frame/QtUserInterface.h"

namespace vorn {

std::unique_ptr<TMainForm> StartUp(const std::string& iniPath, const std::string& keyArgument) {
    auto* splash = new TSplashScreen;
    splash->show();
    splash->repaint();
    while (SplashShowing)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

    QCoreApplication::setApplicationName("VORN");

    auto mainForm = std::make_unique<TMainForm>(iniPath);
    mainForm->showMaximized();
    // Maximizing is the window manager's work. On an X display without one (a virtual
    // display, say) the frame would stay at its small normal size: fill the screen then.
    if (QGuiApplication::platformName() == "xcb") {
        QCoreApplication::processEvents();
        QScreen* screen = mainForm->screen();
        if (screen && mainForm->frameGeometry().size() == mainForm->geometry().size()) {
            mainForm->setGeometry(screen->availableGeometry());
        }
    }

    mainForm->About1Click();

    try {
        if (mainForm->Journal().OfferRestore()) {
            // The identification VORN was doing when it last did not close normally.
        } else if (!keyArgument.empty()) {
            OpenKey(CurrentSession(), keyArgument);
        } else {
            OpenStartupKey(CurrentSession());
        }
    } catch (const std::exception& error) {
        ReportError(error);
    }
    return mainForm;
}

}  // namespace vorn
