// The desktop program: splash, main window, About box, then the key of the last run (or
// the one named on the command line), then the event loop.
#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "core/platform/Directory.h"
#include "core/session/DataPaths.h"
#include "core/session/Settings.h"
#include "desktop/MainWindow.h"
#include "desktop/Startup.h"
#include "frame/QtUserInterface.h"

namespace {

constexpr const char* kUsage =
    "usage: vorn [KEY.DES]\n"
    "\n"
    "Starts VORN, the interactive identification program, and opens the key KEY.DES\n"
    "after the About box (without it, the key that was open when VORN last ended).\n"
    "Settings are kept in $XDG_CONFIG_HOME/vorn/VORNWIN.INI (~/.config/vorn/).\n"
    "\n"
    "  --help      show this text\n"
    "  --version   show the version\n"
    "  --paths     show the files and folders VORN uses, and stop\n";

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

std::string SettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
           "/vorn/" + vorn::SettingsFileName;
}

// One line per file or folder, "name: path", with a note when a shipped folder is missing.
void PrintPaths() {
    const vorn::DataPaths paths = vorn::RunningProgramDataPaths();
    auto line = [](const char* name, const std::string& path, bool shipped) {
        std::error_code error;
        bool missing = shipped && (path.empty() || !std::filesystem::exists(path, error));
        std::printf("%s: %s%s\n", name, path.c_str(), missing ? " (missing)" : "");
    };
    line("program", paths.Program, false);
    line("data", paths.Data, true);
    line("pages", paths.Pages, true);
    line("keys", paths.Keys, true);
    line("settings", SettingsPath(), false);
}

}  // namespace

int main(int argc, char** argv) {
    std::string keyArgument;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--paths")) {
            PrintPaths();
            return 0;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::printf("vorn %s\n", VORN_VERSION);
            return 0;
        }
        if (argv[i][0] == '-' || !keyArgument.empty()) {
            std::fprintf(stderr, "vorn: unexpected argument \"%s\"\n%s", argv[i], kUsage);
            return 2;
        }
        keyArgument = vorn::AbsolutePath(argv[i]);
    }
    if (!HasDisplay()) {
        std::fputs(
            "vorn: there is no display to show the windows on (neither DISPLAY nor "
            "WAYLAND_DISPLAY is set).\n"
            "Run VORN on a desktop, or under a virtual display: xvfb-run -a vorn [KEY.DES]\n",
            stderr);
        return 1;
    }

    vorn::VornApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(VORN_VERSION);
    // Wayland desktops find the desktop entry, and with it the icon, by this name.
    QGuiApplication::setDesktopFileName("io.github.vorn_keys.vorn");
    vorn::QtUserInterface ui;
    vorn::SetUserInterface(&ui);

    std::unique_ptr<vorn::TMainForm> mainForm = vorn::StartUp(SettingsPath(), keyArgument);

    // Then the event loop, until the main window closes (which writes the settings).
    int status = app.exec();
    mainForm.reset();
    vorn::SetUserInterface(nullptr);
    return status;
}
