#pragma once
#include <QLockFile>
#include <QString>

#include <memory>
#include <string>

namespace orb
{

// One program at a time on one mouse: an advisory lock file per mouse,
// named after its interface path, in a folder of this user's (the runtime
// folder). The window and the command-line tool each take it before they
// talk to the mouse, so their exchanges never interleave. The file says who
// holds it; a holder that died leaves a lock the next taker finds stale and
// takes over.
class MouseLock
{
  public:
    MouseLock(const QString& folder, const std::string& devicePath);
    ~MouseLock();
    MouseLock(const MouseLock&) = delete;
    MouseLock& operator=(const MouseLock&) = delete;

    // Takes the lock without waiting; true also when this object holds it.
    // Each take counts a turn in a file beside the lock.
    bool tryLock();
    // Whether another program took the mouse between this object's last two
    // takes: what this program knows of the mouse's memory may be stale.
    bool othersHadIt() const { return othersHadIt_; }
    void unlock();
    bool isLocked() const { return file_.isLocked(); }
    // The program holding the lock, as "orb5610ctl (pid 1234)"; "another
    // program" when the file does not say.
    QString holder() const;
    QString fileName() const { return fileName_; }

    // The user's runtime folder, else a private folder "orb5610" in the
    // user's cache; empty when neither can be had.
    static QString defaultFolder();

  private:
    QString fileName_;
    mutable QLockFile file_;
    qint64 lastTurn_ = -1; // the turn this object wrote at its last take
    bool othersHadIt_ = false;
};

} // namespace orb
