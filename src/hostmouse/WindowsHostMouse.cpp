// The registry and SystemParametersInfo binding; built only on Windows.
#ifdef _WIN32

#include "hostmouse/HostMousePlatform.h"

#include <QSettings>
#include <QStringList>

#include <windows.h>

namespace orb
{
namespace
{
QString Group(HostKey key)
{
    return key == HostKey::Mouse ? QStringLiteral("Mouse") : QStringLiteral("Desktop");
}

// The current user's "Control Panel\Mouse" and "Control Panel\Desktop" string values.
class RegistryHostMouseStore final : public HostMouseStore
{
  public:
    bool canOpen(HostKey key) override
    {
        // Opening must not create the key.
        QSettings panel(QStringLiteral("HKEY_CURRENT_USER\\Control Panel"), QSettings::NativeFormat);
        return panel.status() == QSettings::NoError && panel.childGroups().contains(Group(key));
    }
    std::optional<QString> read(HostKey key, const QString& name) override
    {
        QSettings settings(path(key), QSettings::NativeFormat);
        const QVariant value = settings.value(name);
        if (!value.isValid())
            return std::nullopt;
        return value.toString();
    }
    bool write(HostKey key, const QString& name, const QString& value) override
    {
        QSettings settings(path(key), QSettings::NativeFormat);
        settings.setValue(name, value); // a QString is stored as REG_SZ
        settings.sync();
        return settings.status() == QSettings::NoError;
    }

  private:
    static QString path(HostKey key)
    {
        return QStringLiteral("HKEY_CURRENT_USER\\Control Panel\\") + Group(key);
    }
};

// The results of the calls are not looked at: Windows has all four settings.
class WindowsHostMouseSystem final : public HostMouseSystem
{
  public:
    bool setMouseSpeed(int sensitivity) override
    {
        SystemParametersInfoW(SPI_SETMOUSESPEED, 0,
                              reinterpret_cast<PVOID>(static_cast<INT_PTR>(sensitivity)), SPIF_SENDCHANGE);
        return true;
    }
    bool setMouseAcceleration(int threshold1, int threshold2, int speed) override
    {
        int values[3] = {threshold1, threshold2, speed};
        SystemParametersInfoW(SPI_SETMOUSE, 0, values, SPIF_SENDCHANGE);
        return true;
    }
    bool setDoubleClickTime(int ms) override
    {
        SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, static_cast<UINT>(ms), nullptr, SPIF_SENDCHANGE);
        return true;
    }
    bool setWheelScrollLines(int lines) override
    {
        // -1 becomes WHEEL_PAGESCROLL (UINT_MAX), one screen at a time.
        SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(lines), nullptr, SPIF_UPDATEINIFILE);
        return true;
    }
    // The registry is where Windows keeps them.
    bool storeIsLive() const override { return true; }
};
} // namespace

std::unique_ptr<HostMouseStore> CreateHostMouseStore()
{
    return std::make_unique<RegistryHostMouseStore>();
}

std::unique_ptr<HostMouseSystem> CreateHostMouseSystem()
{
    return std::make_unique<WindowsHostMouseSystem>();
}

} // namespace orb

#endif
