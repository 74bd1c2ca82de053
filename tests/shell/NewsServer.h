// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>

// A tiny HTTP server on 127.0.0.1 for the news tests, run by the test's event loop. It answers
// every request with the status and body set last, or, when told to stay silent, accepts the
// connection and never answers.
class NewsServer : public QObject {
    Q_OBJECT

public:
    NewsServer();

    void answer(int status, const QByteArray& body);
    void staySilent() { m_silent = true; }

    // The address of the news file on this server.
    std::string address() const;
    // The head of every request received so far, in order.
    const QList<QByteArray>& requests() const { return m_requests; }

private:
    void onConnection();

    QTcpServer m_server;
    bool m_silent = false;
    int m_status = 200;
    QByteArray m_body;
    QList<QByteArray> m_requests;
};
