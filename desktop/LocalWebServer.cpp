#include "desktop/LocalWebServer.h"

#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QVariant>

#include "publish/PublishedFolder.h"

namespace vorn {
namespace {

// A request's head is a line and a few headers; one that grows past this is no browser's.
constexpr qsizetype kMaxRequestBytes = 16 * 1024;
// A published file is at most a picture or the codes of a large key.
constexpr qint64 kMaxFileBytes = qint64(256) << 20;

QByteArray TypeOf(const QString& path) {
    static const struct {
        const char* Suffix;
        const char* Type;
    } kTypes[] = {
        {"html", "text/html; charset=utf-8"},
        {"js", "text/javascript; charset=utf-8"},
        {"mjs", "text/javascript; charset=utf-8"},
        {"css", "text/css; charset=utf-8"},
        {"json", "application/json"},
        {"webmanifest", "application/manifest+json"},
        {"wasm", "application/wasm"},
        {"txt", "text/plain; charset=utf-8"},
        {"jpg", "image/jpeg"},
        {"jpeg", "image/jpeg"},
        {"gif", "image/gif"},
        {"png", "image/png"},
        {"svg", "image/svg+xml"},
        {"bin", "application/octet-stream"},
    };
    QString suffix = QFileInfo(path).suffix().toLower();
    for (const auto& type : kTypes)
        if (suffix == QLatin1String(type.Suffix)) return type.Type;
    return "application/octet-stream";
}

QByteArray Status(int code, const char* reason, const QByteArray& type, qint64 length) {
    return "HTTP/1.1 " + QByteArray::number(code) + " " + reason + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(length) +
           "\r\nCache-Control: no-cache\r\nX-Content-Type-Options: nosniff\r\n"
           "Connection: close\r\n\r\n";
}

QByteArray Refusal(int code, const char* reason) {
    QByteArray body = QByteArray(reason) + "\n";
    return Status(code, reason, "text/plain; charset=utf-8", body.size()) + body;
}

}  // namespace

LocalWebServer::LocalWebServer(QObject* parent) : QObject(parent), server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &LocalWebServer::Accept);
}

QString LocalWebServer::Serve(const QString& folder) {
    folder_ = folder;
    if (!server_->isListening() && !server_->listen(QHostAddress::LocalHost, 0)) return {};
    return QString("http://127.0.0.1:%1/").arg(server_->serverPort());
}

void LocalWebServer::Accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void LocalWebServer::Read(QTcpSocket* socket) {
    // The head may come in pieces; it is kept on the socket until its blank line.
    QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    if (!head.contains("\r\n\r\n") && head.size() <= kMaxRequestBytes) {
        socket->setProperty("head", head);
        return;
    }
    socket->setProperty("head", QVariant());
    QByteArray answer = head.size() > kMaxRequestBytes && !head.contains("\r\n\r\n")
                            ? Refusal(431, "Request Header Fields Too Large")
                            : Answer(folder_, head);
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    socket->write(answer);
    socket->disconnectFromHost();
}

QByteArray LocalWebServer::Answer(const QString& folder, const QByteArray& request) {
    qsizetype lineEnd = request.indexOf("\r\n");
    QList<QByteArray> parts = request.left(lineEnd < 0 ? request.size() : lineEnd).split(' ');
    if (parts.size() != 3 || !parts[2].startsWith("HTTP/1.")) return Refusal(400, "Bad Request");
    bool head = parts[0] == "HEAD";
    if (parts[0] != "GET" && !head) return Refusal(405, "Method Not Allowed");
    QByteArray target = parts[1];
    if (!target.startsWith('/')) return Refusal(400, "Bad Request");
    target = target.left(target.indexOf('?') < 0 ? target.size() : target.indexOf('?'));
    std::string path = QUrl::fromPercentEncoding(target.mid(1)).toStdString();
    if (path.empty() || path.back() == '/') path += "index.html";
    if (folder.isEmpty() || !publish::IsPublishedPath(path)) return Refusal(404, "Not Found");
    QString root = QFileInfo(folder).absoluteFilePath();
    QString file = root + "/" + QString::fromStdString(path);
    QFileInfo info(file);
    // Only the folder's own files: no link on the way, inside it or out of it.
    for (QFileInfo step = info; step.absoluteFilePath().size() > root.size();
         step = QFileInfo(step.absolutePath())) {
        if (step.isSymLink()) return Refusal(404, "Not Found");
    }
    QFile content(file);
    if (!info.isFile() || info.size() > kMaxFileBytes || !content.open(QIODevice::ReadOnly))
        return Refusal(404, "Not Found");
    QByteArray bytes = head ? QByteArray() : content.readAll();
    return Status(200, "OK", TypeOf(file), info.size()) + bytes;
}

}  // namespace vorn
