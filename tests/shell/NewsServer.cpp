// SPDX-License-Identifier: GPL-3.0-or-later
#include "NewsServer.h"

#include <QHostAddress>
#include <QTcpSocket>

NewsServer::NewsServer() {
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, &NewsServer::onConnection);
}

void NewsServer::answer(int status, const QByteArray& body) {
    m_status = status;
    m_body = body;
}

std::string NewsServer::address() const {
    return "http://127.0.0.1:" + std::to_string(m_server.serverPort()) + "/news/NEWS.txt";
}

void NewsServer::onConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, received] {
            received->append(socket->readAll());
            const qsizetype headEnd = received->indexOf("\r\n\r\n");
            if (headEnd < 0) {
                return;
            }
            m_requests.append(received->left(headEnd));
            received->clear();
            if (m_silent) {
                return;
            }
            const QByteArray reason = m_status == 200 ? "OK" : "Not Found";
            socket->write("HTTP/1.1 " + QByteArray::number(m_status) + " " + reason +
                          "\r\nContent-Type: text/plain\r\nContent-Length: " +
                          QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n");
            socket->write(m_body);
            socket->disconnectFromHost();
        });
    }
}
