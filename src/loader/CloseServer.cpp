#include "loader/CloseServer.h"

#include "platform/LoaderControl.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace notarium {

namespace {

constexpr qsizetype kLongestRequest = 64;

} // namespace

CloseServer::CloseServer(QString path, std::function<void()> prepareClose, QObject* parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_prepareClose(std::move(prepareClose))
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CloseServer::accept);
}

CloseServer::~CloseServer()
{
    close();
}

bool CloseServer::listen(QString* error)
{
    QLocalServer::removeServer(m_path);
    if (m_server->listen(m_path))
        return true;
    if (error)
        *error = m_server->errorString();
    return false;
}

void CloseServer::close()
{
    if (m_server->isListening())
        m_server->close(); // removes the socket file
}

void CloseServer::accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0)
            readRequest(socket);
    }
}

void CloseServer::readRequest(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kLongestRequest)
            socket->abort();
        return;
    }
    const QByteArray request = socket->readLine(kLongestRequest + 1);
    if (request != LoaderControl::kCloseRequest) {
        socket->write("unknown\n");
        socket->disconnectFromServer();
        return;
    }
    if (m_prepareClose)
        m_prepareClose();
    close();
    socket->write(LoaderControl::kCloseAnswer);
    socket->waitForBytesWritten(1000);
    socket->disconnectFromServer();
    emit closeRequested();
}

} // namespace notarium
