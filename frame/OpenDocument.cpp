#include "frame/OpenDocument.h"

#include <QDesktopServices>

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

}  // namespace

bool OpenDocument(const std::string& target) {
    size_t begin = 0, end = target.size();
    while (begin < end && static_cast<unsigned char>(target[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(target[end - 1]) <= ' ')
        --end;
    if (begin == end) return false;
    QUrl url = QUrl::fromUserInput(QString::fromStdString(target));
    if (DesktopOpener) return DesktopOpener(url);
    return QDesktopServices::openUrl(url);
}

bool OpenLocalFile(const std::string& path) {
    QByteArray absolute = QByteArray::fromStdString(AbsolutePath(path));
    QUrl url = QUrl::fromEncoded("file://" + absolute.toPercentEncoding("/"), QUrl::StrictMode);
    if (DesktopOpener) return DesktopOpener(url);
    return QDesktopServices::openUrl(url);
}

bool ShowOnDesktop(const std::string& path) {
    if (OpenLocalFile(path)) return true;
    std::string absolute = AbsolutePath(path);
    size_t slash = absolute.rfind('/');
    std::string name = absolute.substr(slash + 1);
    std::string folder = slash == 0 ? "/" : absolute.substr(0, slash);
    // The folder on a line of its own: a long one is not broken at a slash.
    UI().ShowMessage(MessageKind::Warning,
                     "No program could open the file \"" + FileNameToUtf8(name) +
                         "\".  It is in the folder\n" + FileNameToUtf8(folder) +
                         "\nOpen it from there with a program of your choice.");
    return false;
}

bool ShowAddressOnDesktop(const std::string& address) {
    if (OpenDocument(address)) return true;
    UI().ShowMessage(MessageKind::Warning,
                     "No program could open the address \"" + FileNameToUtf8(address) + "\".");
    return false;
}

bool OpenHomePage() {
    return OpenShippedPage("VORN home page", "index.html");
}
bool OpenKeysPage() {
    return OpenShippedPage("VORN keys page", "keys/index.html");
}

}  // namespace vorn
