#pragma once

#include "support/ScriptedServer.h"

#include <QObject>
#include <QTcpSocket>

#include <memory>

namespace tavolen::test {

// One client connection of the scripted service, on the service's thread:
// reads requests one after another (keep-alive), records each, and plays the
// script for its path.
class ScriptedConnection : public QObject {
public:
    ScriptedConnection(QTcpSocket *socket, std::shared_ptr<ScriptedState> state, QObject *parent);

private:
    void onReadyRead();
    void onDisconnected();
    // Takes one complete request off the input, if there is one, and answers it.
    bool takeRequest();
    ScriptedResponse nextScript(const QByteArray &path);
    void writeHead();
    void sendFrom(int piece);
    void end();
    void update(const std::function<void(RecordedRequest &)> &change);

    QTcpSocket *m_socket;
    std::shared_ptr<ScriptedState> m_state;
    QByteArray m_in;
    ScriptedResponse m_response;
    int m_record = -1;
    bool m_answering = false;
    bool m_gone = false;
};

} // namespace tavolen::test
