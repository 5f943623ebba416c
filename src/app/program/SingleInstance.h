#pragma once
#include <QObject>
#include <QString>

#ifdef _WIN32
class QLocalServer;
#else
#include <sys/types.h>
class QSocketNotifier;
#endif

namespace orb
{

// One running copy of the program. The first process listens on a local
// socket named after the window title, in a folder only the user can write
// to; a later start connects to it, asks it to bring its window forward, and
// ends without a window. On Windows the socket is a QLocalServer; elsewhere a
// Unix-domain socket of our own, so the program needs no network library.
class SingleInstance : public QObject
{
    Q_OBJECT
  public:
    explicit SingleInstance(const QString& title, QObject* parent = nullptr);
    // Stops listening; the socket's file goes with it.
    ~SingleInstance() override;
    enum class Claim {
        First,       // this process listens: it is the running copy now
        Raised,      // a running copy was asked to come forward
        Unavailable, // the socket cannot be had at all (path too long, bind error)
    };
    // Claims the socket, or asks the copy that has it to come forward. Two
    // starts at once take turns (a lock file beside the socket), so a stale
    // socket is taken over by one of them and the other asks that one.
    Claim claimOrRaise();
    // True when this process is the first.
    bool claim() { return claimOrRaise() == Claim::First; }
    // The socket's path.
    QString serverName() const { return name_; }
    // The user's runtime folder (QStandardPaths::RuntimeLocation), else the
    // private folder "orb5610" in the user's cache; empty when neither can be had.
    static QString socketFolder();

  signals:
    void activationRequested();

  private:
    // What a later start sends; the running copy comes forward when it reads "raise".
    static constexpr char kRaise[] = "raise\n";

    // False, with a warning, when the platform cannot take a socket at the name.
    bool nameUsable() const;
    // Asks a running copy to come forward; false when none answers.
    bool askRunningCopy() const;
    // Listens on the name; false when it is taken or cannot be used.
    bool listen();
    // Removes what a crashed copy left at the name.
    void removeStale() const;
    // Held from the first question to the end of listening: the lock file
    // beside the socket (Unix); -1 when it cannot be had.
    int lockClaim() const;
    void unlockClaim(int fd) const;

    QString name_;
#ifdef _WIN32
    QLocalServer* server_ = nullptr;
#else
    void acceptPending();
    int listenFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    // The socket file this copy made, so that leaving removes only that one.
    dev_t socketDev_ = 0;
    ino_t socketIno_ = 0;
#endif
};

} // namespace orb
