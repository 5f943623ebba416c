#include "StandInKWin.h"

#include <QDBusMessage>
#include <QMutexLocker>
#include <QThread>

#include <atomic>

namespace orb::test
{

PrivateSessionBus::PrivateSessionBus()
{
    daemon_.setProgram(QStringLiteral("dbus-daemon"));
    daemon_.setArguments(
        {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    daemon_.start(QIODevice::ReadOnly);
    if (!daemon_.waitForStarted(30000)) {
        why_ = QStringLiteral("dbus-daemon cannot be started (package dbus-daemon)");
        return;
    }
    // The daemon prints its address once it listens.
    while (!daemon_.canReadLine() && daemon_.state() == QProcess::Running)
        daemon_.waitForReadyRead(30000);
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    if (address_.isEmpty())
        why_ = QStringLiteral("dbus-daemon gave no address: ") +
               QString::fromUtf8(daemon_.readAllStandardError());
}

PrivateSessionBus::~PrivateSessionBus()
{
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.terminate();
        if (!daemon_.waitForFinished(30000))
            daemon_.kill();
        daemon_.waitForFinished(30000);
    }
}

QDBusConnection PrivateSessionBus::connect(const QString& name) const
{
    return QDBusConnection::connectToBus(address_, name);
}

// What the stand-in knows, shared between its thread and the test's.
struct StandInState {
    mutable QMutex mutex;
    std::vector<StandInKWin::Device> devices;
    QStringList sets;
    QStringList notifications;
    int listings = 0;

    StandInKWin::Device* find(const QString& sysName)
    {
        for (auto& d : devices)
            if (d.sysName == sysName)
                return &d;
        return nullptr;
    }
};

class KWinDeviceManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.InputDeviceManager")
    Q_PROPERTY(QStringList devicesSysNames READ devicesSysNames)

  public:
    KWinDeviceManager(StandInState& state, QObject* parent) : QObject(parent), state_(state) {}
    QStringList devicesSysNames() const
    {
        QMutexLocker lock(&state_.mutex);
        ++state_.listings;
        QStringList names;
        for (const auto& d : state_.devices)
            names << d.sysName;
        return names;
    }

  private:
    StandInState& state_;
};

QString Bool(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

class KWinDevice : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.InputDevice")
    Q_PROPERTY(QString sysName READ sysName)
    Q_PROPERTY(QString name READ name)
    Q_PROPERTY(quint32 vendor READ vendor)
    Q_PROPERTY(quint32 product READ product)
    Q_PROPERTY(bool pointer READ pointer)
    Q_PROPERTY(bool touchpad READ touchpad)
    Q_PROPERTY(bool scrollOnButtonDownEnabledByDefault READ scrollOnButtonDownByDefault)
    Q_PROPERTY(double pointerAcceleration READ pointerAcceleration WRITE setPointerAcceleration)
    Q_PROPERTY(bool pointerAccelerationProfileFlat READ flat WRITE setFlat)
    Q_PROPERTY(bool pointerAccelerationProfileAdaptive READ adaptive WRITE setAdaptive)

  public:
    KWinDevice(StandInState& state, QString sysName, QObject* parent)
        : QObject(parent), state_(state), sysName_(std::move(sysName))
    {
    }
    QString sysName() const { return sysName_; }
    QString name() const { return get().name; }
    quint32 vendor() const { return get().vendor; }
    quint32 product() const { return get().product; }
    bool pointer() const { return get().pointer; }
    bool touchpad() const { return get().touchpad; }
    bool scrollOnButtonDownByDefault() const { return get().scrollOnButtonDownByDefault; }
    double pointerAcceleration() const { return get().acceleration; }
    bool flat() const { return !get().adaptive; }
    bool adaptive() const { return get().adaptive; }
    void setPointerAcceleration(double v)
    {
        change(QStringLiteral("pointerAcceleration %1").arg(v), [v](auto& d) { d.acceleration = v; });
    }
    // As KWin: setting one profile true selects it.
    void setFlat(bool on)
    {
        change(QStringLiteral("pointerAccelerationProfileFlat ") + Bool(on), [on](auto& d) {
            if (on)
                d.adaptive = false;
        });
    }
    void setAdaptive(bool on)
    {
        change(QStringLiteral("pointerAccelerationProfileAdaptive ") + Bool(on), [on](auto& d) {
            if (on)
                d.adaptive = true;
        });
    }

  private:
    StandInKWin::Device get() const
    {
        QMutexLocker lock(&state_.mutex);
        const auto* d = state_.find(sysName_);
        return d ? *d : StandInKWin::Device{};
    }
    template <class F> void change(const QString& what, F apply)
    {
        QMutexLocker lock(&state_.mutex);
        state_.sets << sysName_ + QLatin1Char(' ') + what;
        if (auto* d = state_.find(sysName_))
            apply(*d);
    }
    StandInState& state_;
    QString sysName_;
};

class NotifyCounter : public QObject
{
    Q_OBJECT
  public:
    NotifyCounter(StandInState& state, QObject* parent) : QObject(parent), state_(state) {}
  public slots:
    void notifyChange(int type, int arg)
    {
        QMutexLocker lock(&state_.mutex);
        state_.notifications << QStringLiteral("%1 %2").arg(type).arg(arg);
    }

  private:
    StandInState& state_;
};

class StandInKWinObjects
{
  public:
    StandInState state;
    QObject root; // every object of the stand-in, moved to its thread together
};

namespace
{
std::atomic<int> gStandIns{0};
}

StandInKWin::StandInKWin(const PrivateSessionBus& bus, std::vector<Device> devices, bool answers)
    : thread_(std::make_unique<QThread>()), objects_(std::make_unique<StandInKWinObjects>()),
      connectionName_(QStringLiteral("standin-kwin-%1").arg(++gStandIns))
{
    objects_->state.devices = std::move(devices);
    auto* manager = new KWinDeviceManager(objects_->state, &objects_->root);
    std::vector<KWinDevice*> deviceObjects;
    for (const auto& d : objects_->state.devices)
        deviceObjects.push_back(new KWinDevice(objects_->state, d.sysName, &objects_->root));
    auto* counter = new NotifyCounter(objects_->state, &objects_->root);
    objects_->root.moveToThread(thread_.get());
    // Calls reach the objects through their thread's event loop; without one they wait forever.
    if (answers)
        thread_->start();

    QDBusConnection connection = bus.connect(connectionName_);
    if (!connection.isConnected())
        return;
    const auto flags = QDBusConnection::ExportAllProperties;
    ok_ = connection.registerObject(QStringLiteral("/org/kde/KWin/InputDevice"), manager, flags);
    for (KWinDevice* d : deviceObjects)
        ok_ &=
            connection.registerObject(QStringLiteral("/org/kde/KWin/InputDevice/") + d->sysName(), d, flags);
    ok_ &= connection.connect(QString(), QStringLiteral("/KGlobalSettings"),
                              QStringLiteral("org.kde.KGlobalSettings"), QStringLiteral("notifyChange"),
                              counter, SLOT(notifyChange(int, int)));
    ok_ &= connection.registerService(QStringLiteral("org.kde.KWin"));
    // The daemon has taken the signal's match rule once it answers a later call.
    const QDBusMessage ping = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId"));
    ok_ &= connection.call(ping).type() == QDBusMessage::ReplyMessage;
}

StandInKWin::~StandInKWin()
{
    {
        QDBusConnection connection(connectionName_);
        connection.unregisterService(QStringLiteral("org.kde.KWin"));
        connection.unregisterObject(QStringLiteral("/org/kde/KWin/InputDevice"),
                                    QDBusConnection::UnregisterTree);
    }
    QDBusConnection::disconnectFromBus(connectionName_);
    thread_->quit();
    thread_->wait();
}

QStringList StandInKWin::sets() const
{
    QMutexLocker lock(&objects_->state.mutex);
    return objects_->state.sets;
}

void StandInKWin::clearSets()
{
    QMutexLocker lock(&objects_->state.mutex);
    objects_->state.sets.clear();
}

int StandInKWin::listings() const
{
    QMutexLocker lock(&objects_->state.mutex);
    return objects_->state.listings;
}

StandInKWin::Device StandInKWin::device(const QString& sysName) const
{
    QMutexLocker lock(&objects_->state.mutex);
    const auto* d = objects_->state.find(sysName);
    return d ? *d : Device{};
}

QStringList StandInKWin::notifications(const QDBusConnection& sender) const
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.KWin"), QStringLiteral("/org/kde/KWin/InputDevice"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.kde.KWin.InputDeviceManager") << QStringLiteral("devicesSysNames");
    sender.call(get);
    QMutexLocker lock(&objects_->state.mutex);
    return objects_->state.notifications;
}

} // namespace orb::test

#include "StandInKWin.moc"
