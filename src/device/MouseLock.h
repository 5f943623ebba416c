#pragma once
#include <QLockFile>
#include <QString>

#include <memory>
#include <string>

namespace orb
{

// One program at a time on one mouse. Where the platform names a file that
// every program opening the mouse sees (on Linux its own hidraw node), the
// lock is an flock on that file: the same for every user and environment,
// and dropped by the kernel when its holder dies. Elsewhere it is a lock
// file in `folder`, named after the interface path.
//
// Each take appends a record to the mouse's turn file in `folder` (a random
// token, the holder's pid and name). A take that does not find its own last
// token as the file's last complete record knows that another program had
// the mouse since; a file that cannot be read or written, a torn record or
// one truncated to nothing says the same: unknown counts as changed.
class MouseLock
{
  public:
    MouseLock(const QString& folder, const std::string& devicePath, const std::string& node = {});
    ~MouseLock();
    MouseLock(const MouseLock&) = delete;
    MouseLock& operator=(const MouseLock&) = delete;

    // Takes the lock without waiting; true also when this object holds it.
    bool tryLock();
    // Whether a take found that another program had the mouse since this
    // object's previous take (or could not tell). Kept until taken here.
    bool takeOthersHadIt()
    {
        const bool was = othersHadIt_;
        othersHadIt_ = false;
        return was;
    }
    void unlock();
    bool isLocked() const;
    // The program holding the lock, as "orb5610ctl (pid 1234)"; "another
    // program" when nothing says.
    QString holder() const;
    QString turnFileName() const { return turnFile_; }

    // Where the turn records live: on Linux the machine's lock folder,
    // shared by every user (the same whatever the environment); elsewhere
    // the user's runtime folder.
    static QString defaultFolder();

  private:
    void countTurn();

    std::string node_;
    QString turnFile_;
    QString lockFileName_;
    std::unique_ptr<QLockFile> file_; // without a node
    int nodeFd_ = -1;                 // with a node: open while locked
    QByteArray lastToken_;            // the token of this object's last take
    bool othersHadIt_ = false;
};

} // namespace orb
