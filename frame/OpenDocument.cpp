#include "frame/OpenDocument.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

#include "core/platform/Directory.h"
#include "core/platform/Messages.h"
#include "core/platform/Text.h"
#include "core/session/DataPaths.h"
#include "core/session/Session.h"

namespace vorn {
namespace {

bool OpenShippedPage(const std::string& title, const std::string& page) {
    std::string path = ShippedFile(CurrentSession().Data, "docs/" + page);
    if (!path.empty()) return ShowOnDesktop(path);
    const DataPaths& paths = CurrentSession().Data;
    ShowError("The " + title + " cannot be shown: " +
              (paths.Pages.empty() ? "VORN cannot tell where it is installed."
                                   : "the file " + paths.Pages + page +
                                         " is missing. VORN looks for its pages in the "
                                         "share/vorn folder beside the bin folder it runs from."));
    return false;
}

// Starts the opener on `url` and watches it for kOpenerWatchMs; a failure within that time
// calls `refused`. False when there is no opener to start at all.
bool Launch(const QUrl& url, const RefusalTeller& refused) {
    if (OpenerCommand.empty()) return false;
    auto* process = new QProcess(QCoreApplication::instance());
    QStringList arguments;
    for (size_t i = 1; i < OpenerCommand.size(); ++i)
        arguments << QString::fromStdString(OpenerCommand[i]);
    arguments << QString::fromLatin1(url.toEncoded());
    auto tell = [refused] {
        if (refused && *refused) (*refused)();
    };
    QObject::connect(process, &QProcess::finished, process,
                     [process, tell](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || code != 0) tell();
                     });
    // Watched no longer: the opener may wait for the browser it started; it is left to it.
    QTimer::singleShot(kOpenerWatchMs, process, [process] { process->disconnect(); });
    process->start(QString::fromStdString(OpenerCommand[0]), arguments);
    if (!process->waitForStarted(kOpenerWatchMs)) {
        process->deleteLater();
        return false;
    }
    return true;
}

bool Open(const QUrl& url, const RefusalTeller& refused) {
    if (DesktopOpener) return DesktopOpener(url);
    return Launch(url, refused);
}

}  // namespace

bool OpenDocument(const std::string& target, RefusalTeller refused) {
    size_t begin = 0, end = target.size();
    while (begin < end && static_cast<unsigned char>(target[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(target[end - 1]) <= ' ')
        --end;
    if (begin == end) return false;
    return Open(QUrl::fromUserInput(QString::fromStdString(target)), refused);
}

bool OpenLocalFile(const std::string& path, RefusalTeller refused) {
    QByteArray absolute = QByteArray::fromStdString(AbsolutePath(path));
    return Open(QUrl::fromEncoded("file://" + absolute.toPercentEncoding("/"), QUrl::StrictMode),
                refused);
}

bool ShowOnDesktop(const std::string& path, std::shared_ptr<bool> told) {
    std::string absolute = AbsolutePath(path);
    size_t slash = absolute.rfind('/');
    std::string name = absolute.substr(slash + 1);
    std::string folder = slash == 0 ? "/" : absolute.substr(0, slash);
    if (!told) told = std::make_shared<bool>(false);
    auto teller = std::make_shared<std::function<void()>>([name, folder, told] {
        if (*told) return;
        *told = true;
        // The folder on a line of its own: a long one is not broken at a slash.
        UI().ShowMessage(MessageKind::Warning,
                         "No program could open the file \"" + FileNameToUtf8(name) +
                             "\".  It is in the folder\n" + FileNameToUtf8(folder) +
                             "\nOpen it from there with a program of your choice.");
    });
    if (OpenLocalFile(path, teller)) return true;
    (*teller)();
    return false;
}

bool ShowAddressOnDesktop(const std::string& address) {
    auto told = std::make_shared<bool>(false);
    auto teller = std::make_shared<std::function<void()>>([address, told] {
        if (*told) return;
        *told = true;
        UI().ShowMessage(MessageKind::Warning,
                         "No program could open the address \"" + FileNameToUtf8(address) + "\".");
    });
    if (OpenDocument(address, teller)) return true;
    (*teller)();
    return false;
}

bool OpenHomePage() {
    return OpenShippedPage("VORN home page", "index.html");
}
bool OpenKeysPage() {
    return OpenShippedPage("VORN keys page", "keys/index.html");
}

}  // namespace vorn
