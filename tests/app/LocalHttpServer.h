// A small HTTP server on the loopback interface that gives every request the
// same answer, or none at all; the update check is tested against it and
// never against the network.
#pragma once

#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

class TLocalHttpServer : public QObject {
public:
    // The whole answer sent to each request; empty: the server reads the
    // request and never answers.
    QByteArray Answer;
    // The target of each request ("/updateinfo.php?uid=...").
    QList<QByteArray> Targets;

    TLocalHttpServer() {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        });
    }

    QUrl Url(const QString &path = QStringLiteral("/updateinfo.php")) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }

    static QByteArray Http(int status, const QByteArray &body) {
        return "HTTP/1.1 " + QByteArray::number(status) +
               " X\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body;
    }

private:
    void Read(QTcpSocket *socket) {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
        Targets.append(requestLine.value(1));
        buffer.clear();
        if (Answer.isEmpty())
            return;
        socket->write(Answer);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};
