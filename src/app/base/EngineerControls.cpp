#include "app/base/EngineerControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QVariant>

namespace orb
{

namespace
{
const char kRgb[] = "RGB";

// The controls of a page already found, by name and kind: every read of the
// settings names a hundred controls, and each search walks the whole page.
// A child of the page, so it goes with it.
class ControlIndex final : public QObject
{
  public:
    explicit ControlIndex(QWidget* page) : QObject(page) {}

    static ControlIndex& of(QWidget* page)
    {
        static const char kProperty[] = "orbControlIndex";
        if (auto* index = dynamic_cast<ControlIndex*>(page->property(kProperty).value<QObject*>()))
            return *index;
        auto* index = new ControlIndex(page);
        page->setProperty(kProperty, QVariant::fromValue<QObject*>(index));
        return *index;
    }

    QHash<QString, QPointer<QWidget>> found;
};
} // namespace

template <class W> W* EngineerControls::find(const QString& name) const
{
    ControlIndex& index = ControlIndex::of(page_);
    const QString key = name + QLatin1Char('/') + QLatin1String(W::staticMetaObject.className());
    if (const auto known = index.found.constFind(key); known != index.found.constEnd())
        if (auto* w = qobject_cast<W*>(known->data()); w && w->objectName() == name)
            return w;
    W* w = page_->findChild<W*>(name);
    Q_ASSERT_X(w, "EngineerControls", qPrintable(name));
    if (w)
        index.found.insert(key, w);
    return w;
}

QComboBox* EngineerControls::list(const QString& name) const
{
    return find<QComboBox>(name);
}

QLineEdit* EngineerControls::edit(const QString& name) const
{
    return find<QLineEdit>(name);
}

QCheckBox* EngineerControls::box(const QString& name) const
{
    return find<QCheckBox>(name);
}

QRadioButton* EngineerControls::radio(const QString& name) const
{
    return find<QRadioButton>(name);
}

PairChoice EngineerControls::pair(const QString& first, const QString& second) const
{
    if (radio(first)->isChecked())
        return PairChoice::First;
    if (radio(second)->isChecked())
        return PairChoice::Second;
    return PairChoice::Neither;
}

void EngineerControls::setPair(const QString& first, const QString& second, PairChoice choice) const
{
    if (choice == PairChoice::First)
        radio(first)->setChecked(true);
    else if (choice == PairChoice::Second)
        radio(second)->setChecked(true);
}

std::optional<int> EngineerControls::number(const QString& name) const
{
    bool ok = false;
    const int value = edit(name)->text().trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

void EngineerControls::setNumber(const QString& name, const std::optional<int>& value) const
{
    if (value)
        edit(name)->setText(QString::number(*value));
}

int EngineerControls::index(const QString& name) const
{
    return list(name)->currentIndex();
}

void EngineerControls::setIndex(const QString& name, int i) const
{
    QComboBox* c = list(name);
    c->setCurrentIndex(i >= 0 && i < c->count() ? i : -1);
}

QString EngineerControls::keyModeEdit(std::size_t i)
{
    return QStringLiteral("edt_KeyMode%1%2").arg(i / 3 + 1).arg(QLatin1Char(kRgb[i % 3]));
}

QString EngineerControls::cpiRgbEdit(std::size_t i)
{
    return QStringLiteral("edt_CPI%1%2").arg(i / 3 + 1).arg(QLatin1Char(kRgb[i % 3]));
}

SettingsControls EngineerControls::ReadControls() const
{
    const EngineerControls& c = *this;
    SettingsControls s;
    s.mcpi = c.pair(QStringLiteral("rb_MCPIOn"), QStringLiteral("rb_MCPIOff"));
    s.fireFn = c.pair(QStringLiteral("rb_FireFnOn"), QStringLiteral("rb_FireFnOff"));
    s.lcpi = c.pair(QStringLiteral("rb_LCPIOn"), QStringLiteral("rb_LCPIOff"));
    s.noSave = c.pair(QStringLiteral("rb_NoSave"), QStringLiteral("rb_Save"));
    s.ledType = c.pair(QStringLiteral("rb_NorLED"), QStringLiteral("rb_MCULED"));
    s.sensorOri = c.index(QStringLiteral("cb_SensorOri"));
    s.midPress = c.box(QStringLiteral("cb_MidPress"))->isChecked();
    s.cpiPress = c.box(QStringLiteral("cb_CPIPress"))->isChecked();
    s.gunPress = c.box(QStringLiteral("cb_GunPress"))->isChecked();
    s.cpiStep = c.index(QStringLiteral("cb_CPIStep"));
    s.mcuScan = c.pair(QStringLiteral("rb_MCULED3Control"), QStringLiteral("rb_MCULED6Control"));
    s.mcuLedNum = c.number(QStringLiteral("edt_MCULEDNum"));
    for (std::size_t k = 0; k < s.mcuModes.size(); ++k)
        s.mcuModes[k] = c.box(QStringLiteral("cb_Mode%1").arg(k + 1))->isChecked();
    s.norLedStep = c.number(QStringLiteral("edt_NorLEDStep"));
    for (std::size_t n = 0; n < 7; ++n) {
        s.cpiValue[n] = c.index(QStringLiteral("cb_CPI%1").arg(n + 1));
        s.cpiColour[n] = c.index(QStringLiteral("cb_CPI%1Color").arg(n + 1));
    }
    for (std::size_t i = 0; i < s.keyModeRgb.size(); ++i)
        s.keyModeRgb[i] = c.number(keyModeEdit(i));
    for (std::size_t i = 0; i < s.cpiRgb.size(); ++i)
        s.cpiRgb[i] = c.number(cpiRgbEdit(i));
    s.currentCpi = c.index(QStringLiteral("cb_CurrentCPI"));
    s.norLedCpi = c.radio(QStringLiteral("rb_NorLEDCPI"))->isChecked();
    s.mcuCurrentMode = c.index(QStringLiteral("cb_MCULEDCurrentMode"));
    s.mcuStep = c.number(QStringLiteral("edt_MCULEDCrtStep"));
    s.ledOff = c.pair(QStringLiteral("rb_LEDOff"), QStringLiteral("rb_LEDOn"));
    s.keyMode = c.index(QStringLiteral("cb_KeyMode"));
    s.vendorId = c.number(QStringLiteral("edt_VendorID"));
    s.productId = c.number(QStringLiteral("edt_ProductID"));
    s.fireCount = c.index(QStringLiteral("cb_FireCount"));
    s.fireTime = c.number(QStringLiteral("edt_FireTime"));
    return s;
}

} // namespace orb
