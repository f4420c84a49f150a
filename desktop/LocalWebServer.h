#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

class QTcpServer;
class QTcpSocket;

namespace vorn {

// Serves one published key's folder to this computer's own browser, on the loopback
// address only, while VORN runs: a browser runs no WebAssembly page opened as a file.
// GET and HEAD of the folder's files, nothing outside it, nothing through a symbolic link.
class LocalWebServer : public QObject {
    Q_OBJECT
public:
    explicit LocalWebServer(QObject* parent = nullptr);

    // Serves `folder` from now on (the one served before is no longer); the address of its
    // page, "http://127.0.0.1:PORT/", or an empty string when no port could be had.
    QString Serve(const QString& folder);
    const QString& Folder() const { return folder_; }

    // The answer to one request (the text up to its blank line), as bytes to send.
    static QByteArray Answer(const QString& folder, const QByteArray& request);

private:
    void Accept();
    void Read(QTcpSocket* socket);

    QTcpServer* server_;
    QString folder_;
};

}  // namespace vorn
