#include "app/OpenDocument.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace vorn {
namespace {

// The pages live in docs/ beside the sources, or in share/vorn/docs beside the program.
QString DocsDirectory() {
    QString app = QCoreApplication::applicationDirPath();
    for (const QString& dir :
         {app + "/../share/vorn/docs", app + "/../../docs", QString(VORN_SOURCE_DIR "/docs")}) {
        if (QFileInfo::exists(dir + "/index.html")) return QDir(dir).absolutePath();
    }
    return QString(VORN_SOURCE_DIR "/docs");
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
    QUrl url = QUrl::fromLocalFile(QFileInfo(QString::fromStdString(path)).absoluteFilePath());
    if (DesktopOpener) return DesktopOpener(url);
    return QDesktopServices::openUrl(url);
}

std::string HomePageAddress() {
    return (DocsDirectory() + "/index.html").toStdString();
}
std::string KeysPageAddress() {
    return (DocsDirectory() + "/keys/index.html").toStdString();
}

}  // namespace vorn
