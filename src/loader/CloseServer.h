#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

namespace notarium {

// Where the program asks the loader to end (LoaderControl::requestClose).
//
// The protocol: a local stream socket at LoaderControl::serverPath(<settings file>), open to this
// user only. A client connects and writes one line, "close\n". The loader runs prepareClose
// (which clears Loaded and Handle), answers "ok\n" and emits closeRequested; the program may take
// the answer as the sign that the record is clear. Any other line is answered "unknown\n". A line
// longer than a request can be ends the connection unanswered.
class CloseServer : public QObject {
    Q_OBJECT

public:
    CloseServer(QString path, std::function<void()> prepareClose, QObject* parent = nullptr);
    ~CloseServer() override;

    // Starts listening; the caller holds the loader's lock, so a socket file already there is one
    // a loader that was killed left behind, and is replaced.
    bool listen(QString* error = nullptr);
    void close();

signals:
    void closeRequested();

private:
    void accept();
    void readRequest(QLocalSocket* socket);

    QString m_path;
    std::function<void()> m_prepareClose;
    QLocalServer* m_server;
};

} // namespace notarium
