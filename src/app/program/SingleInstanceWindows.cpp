// The single instance on Windows: a named pipe through QLocalServer.
#ifdef _WIN32
#include "app/program/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace orb
{

SingleInstance::~SingleInstance() = default; // the server is a child and closes with it

bool SingleInstance::nameUsable() const
{
    return true;
}

bool SingleInstance::askRunningCopy() const
{
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (!probe.waitForConnected(500))
        return false;
    probe.write(kRaise);
    probe.waitForBytesWritten(1000);
    probe.disconnectFromServer();
    return true;
}

bool SingleInstance::listen()
{
    if (!server_) {
        server_ = new QLocalServer(this);
        connect(server_, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* s = server_->nextPendingConnection()) {
                connect(s, &QLocalSocket::readyRead, this, [this, s] {
                    if (s->readAll().contains("raise"))
                        emit activationRequested();
                    s->disconnectFromServer();
                });
                connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    return server_->listen(name_);
}

// A pipe name goes with its server: no stale name to take over in turns.
int SingleInstance::lockClaim() const
{
    return -1;
}

void SingleInstance::unlockClaim(int) const {}

void SingleInstance::removeStale() const
{
    QLocalServer::removeServer(name_);
}

} // namespace orb
#endif
