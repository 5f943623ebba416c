#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalSocket>

#include <unistd.h>

namespace orb
{

namespace
{
constexpr char kRaise[] = "raise\n";
}

SingleInstance::SingleInstance(const QString& title, QObject* parent) : QObject(parent)
{
    // Socket names are file names on Linux: keep a readable prefix and make
    // the title safe; one name per user.
    const QByteArray hash =
        QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    name_ = QStringLiteral("orb5610-%1-%2").arg(QString::fromLatin1(hash)).arg(::getuid());
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_.nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (s->readAll().contains("raise"))
                    emit activationRequested();
                s->disconnectFromServer();
            });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
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

bool SingleInstance::claim()
{
    if (askRunningCopy())
        return false;
    if (server_.listen(name_))
        return true;
    // Either another copy started listening just now, or a crashed copy left
    // its socket behind: ask once more before taking the name over.
    if (askRunningCopy())
        return false;
    QLocalServer::removeServer(name_);
    return server_.listen(name_);
}

} // namespace orb
