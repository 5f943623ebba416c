#pragma once
#include <QLockFile>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace orb
{

// One running copy of the program. The first process holds a lock file and
// listens on a local socket, both named after the window title; a later
// start finds the lock taken, connects to the socket, asks the running copy
// to bring its window forward, and ends without a window. A plain Unix
// socket with Qt Core's notifier does it, so the program needs no network
// library.
class SingleInstance : public QObject
{
    Q_OBJECT
  public:
    explicit SingleInstance(const QString& title, QObject* parent = nullptr);
    ~SingleInstance() override;
    // True when this process is the first; false after the running one was asked to come forward.
    bool claim();
    // The socket's file name in the temporary folder.
    QString serverName() const { return name_; }

  signals:
    void activationRequested();

  private:
    // Asks a running copy to come forward; false when none answers.
    bool askRunningCopy() const;
    bool listen();
    void acceptPending();
    QString name_;
    QString path_;
    QLockFile lock_;
    int listenFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace orb
