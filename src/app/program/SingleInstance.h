#pragma once
#include <QLocalServer>
#include <QObject>
#include <QString>

namespace orb
{

// One running copy of the program. The first process listens on a local
// socket named after the window title, in a folder only the user can write
// to; a later start connects to it, asks it to bring its window forward, and
// ends without a window.
class SingleInstance : public QObject
{
    Q_OBJECT
  public:
    explicit SingleInstance(const QString& title, QObject* parent = nullptr);
    // True when this process is the first; false after the running one was asked to come forward.
    bool claim();
    // The socket's path.
    QString serverName() const { return name_; }
    // The user's runtime folder (QStandardPaths::RuntimeLocation), else the
    // private folder "orb5610" in the user's cache; empty when neither can be had.
    static QString socketFolder();

  signals:
    void activationRequested();

  private:
    // Asks a running copy to come forward; false when none answers.
    bool askRunningCopy() const;
    QString name_;
    QLocalServer server_;
};

} // namespace orb
