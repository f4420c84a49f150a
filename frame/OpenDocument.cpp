#include "frame/OpenDocument.h"

#include <QDesktopServices>

#include "core/platform/Directory.h"
#include "core/platform/Messages.h"
#include "core/session/DataPaths.h"

namespace vorn {
namespace {

bool OpenShippedPage(const std::string& title, const std::string& page) {
    std::string path = ShippedFile("docs/" + page);
    if (!path.empty()) return OpenLocalFile(path);
    const DataPaths& paths = ProgramDataPaths();
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

bool OpenHomePage() {
    return OpenShippedPage("VORN home page", "index.html");
}
bool OpenKeysPage() {
    return OpenShippedPage("VORN keys page", "keys/index.html");
}

}  // namespace vorn
