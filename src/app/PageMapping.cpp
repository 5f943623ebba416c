// Profile files and the mapping between the setting controls and the
// section buffers of the configuration image.
#include "app/MainWindow.h"
#include "image/ProfileFile.h"
#include "image/SettingsRules.h"
#include "keys/KeyCodes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>

namespace orb
{

namespace
{

const QString kSaveFilter = QStringLiteral("SaveFile(*.bin)|*.bin");
const QString kLoadFilter = QStringLiteral("LoadFile(*.bin)|*.bin");
const char kRgb[] = "RGB";

// The setting controls of the engineering page, found by name.
class Controls
{
  public:
    explicit Controls(QWidget* page) : page_(page) {}

    QComboBox* list(const QString& name) const { return find<QComboBox>(name); }
    QLineEdit* edit(const QString& name) const { return find<QLineEdit>(name); }
    QCheckBox* box(const QString& name) const { return find<QCheckBox>(name); }
    QRadioButton* radio(const QString& name) const { return find<QRadioButton>(name); }

    PairChoice pair(const QString& first, const QString& second) const
    {
        if (radio(first)->isChecked())
            return PairChoice::First;
        if (radio(second)->isChecked())
            return PairChoice::Second;
        return PairChoice::Neither;
    }
    void setPair(const QString& first, const QString& second, PairChoice choice) const
    {
        if (choice == PairChoice::First)
            radio(first)->setChecked(true);
        else if (choice == PairChoice::Second)
            radio(second)->setChecked(true);
    }
    std::optional<int> number(const QString& name) const
    {
        bool ok = false;
        const int value = edit(name)->text().trimmed().toInt(&ok);
        return ok ? std::optional<int>(value) : std::nullopt;
    }
    void setNumber(const QString& name, const std::optional<int>& value) const
    {
        if (value)
            edit(name)->setText(QString::number(*value));
    }
    int index(const QString& name) const { return list(name)->currentIndex(); }
    // An index the list does not have leaves it without a selection.
    void setIndex(const QString& name, int i) const
    {
        QComboBox* c = list(name);
        c->setCurrentIndex(i >= 0 && i < c->count() ? i : -1);
    }

  private:
    template <class W> W* find(const QString& name) const
    {
        W* w = page_->findChild<W*>(name);
        Q_ASSERT_X(w, "Controls", qPrintable(name));
        return w;
    }
    QWidget* page_;
};

QString keyModeEdit(std::size_t i)
{
    return QStringLiteral("edt_KeyMode%1%2").arg(i / 3 + 1).arg(QLatin1Char(kRgb[i % 3]));
}

QString cpiRgbEdit(std::size_t i)
{
    return QStringLiteral("edt_CPI%1%2").arg(i / 3 + 1).arg(QLatin1Char(kRgb[i % 3]));
}

SettingsControls ReadControls(const Controls& c)
{
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

QString FileErrorText(const QString& file, const std::string& reason)
{
    return QStringLiteral("%1\n\n%2").arg(QDir::toNativeSeparators(file), QString::fromLocal8Bit(reason));
}

} // namespace

void MainWindow::UIToDataBuf()
{
    StoreSettings(ReadControls(Controls(page(6))), Image.ParameterA, Image.ParameterB, Image.FireKey);
}

void MainWindow::DataBufToUI()
{
    for (std::size_t k = 0; k < KeysPerMode; ++k) {
        const auto code = [this](std::size_t offset) {
            return BytesToCode(Image.ProfileKeys[offset], Image.ProfileKeys[offset + 1],
                               Image.ProfileKeys[offset + 2]);
        };
        ModeACodes[k] = code(ModeAKeysOffset + k * KeyCodeSize);
        ModeBCodes[k] = code(ModeBKeysOffset + k * KeyCodeSize);
    }
    RefreshUI();
}

void MainWindow::RefreshUI()
{
    const Controls c(page(6));
    SettingsControls s = ReadControls(c);
    ShowSettings(Image.ParameterA, Image.ParameterB, Image.FireKey, s);

    // Option flags, orientation and light type.
    c.setPair(QStringLiteral("rb_MCPIOn"), QStringLiteral("rb_MCPIOff"), s.mcpi);
    c.setPair(QStringLiteral("rb_FireFnOn"), QStringLiteral("rb_FireFnOff"), s.fireFn);
    c.setPair(QStringLiteral("rb_LCPIOn"), QStringLiteral("rb_LCPIOff"), s.lcpi);
    c.setPair(QStringLiteral("rb_NoSave"), QStringLiteral("rb_Save"), s.noSave);
    c.setIndex(QStringLiteral("cb_SensorOri"), s.sensorOri);
    c.setPair(QStringLiteral("rb_NorLED"), QStringLiteral("rb_MCULED"), s.ledType);
    LedTypeShown = s.ledType == PairChoice::First ? QStringLiteral("ZKLED") : QStringLiteral("MCULED");
    ShowLightTypeControls();

    c.box(QStringLiteral("cb_MidPress"))->setChecked(s.midPress);
    c.box(QStringLiteral("cb_CPIPress"))->setChecked(s.cpiPress);
    c.box(QStringLiteral("cb_GunPress"))->setChecked(s.gunPress);

    c.setIndex(QStringLiteral("cb_CPIStep"), s.cpiStep);
    cb_CPIStepChange();

    c.setPair(QStringLiteral("rb_MCULED3Control"), QStringLiteral("rb_MCULED6Control"), s.mcuScan);
    c.setNumber(QStringLiteral("edt_MCULEDNum"), s.mcuLedNum);

    for (std::size_t k = 0; k < s.mcuModes.size(); ++k)
        c.box(QStringLiteral("cb_Mode%1").arg(k + 1))->setChecked(s.mcuModes[k]);
    TLRefreshMCULEDMode();

    c.setNumber(QStringLiteral("edt_NorLEDStep"), s.norLedStep);
    for (std::size_t n = 0; n < 7; ++n) {
        c.setIndex(QStringLiteral("cb_CPI%1").arg(n + 1), s.cpiValue[n]);
        c.setIndex(QStringLiteral("cb_CPI%1Color").arg(n + 1), s.cpiColour[n]);
    }
    for (std::size_t i = 0; i < s.keyModeRgb.size(); ++i)
        c.setNumber(keyModeEdit(i), s.keyModeRgb[i]);
    for (std::size_t i = 0; i < s.cpiRgb.size(); ++i)
        c.setNumber(cpiRgbEdit(i), s.cpiRgb[i]);

    c.setIndex(QStringLiteral("cb_CurrentCPI"), s.currentCpi);

    if (s.norLedCpi)
        c.radio(QStringLiteral("rb_NorLEDCPI"))->setChecked(true);
    if (s.ledType == PairChoice::Second) {
        c.setIndex(QStringLiteral("cb_MCULEDCurrentMode"), s.mcuCurrentMode);
        c.setNumber(QStringLiteral("edt_MCULEDCrtStep"), s.mcuStep);
    }
    c.setPair(QStringLiteral("rb_LEDOff"), QStringLiteral("rb_LEDOn"), s.ledOff);

    c.setIndex(QStringLiteral("cb_KeyMode"), s.keyMode);
    c.setNumber(QStringLiteral("edt_VendorID"), s.vendorId);
    c.setNumber(QStringLiteral("edt_ProductID"), s.productId);

    TLRefreshAIMKey();
    TLRefreshProfile1Keys();
    TLRefreshProfile2Keys();

    c.setIndex(QStringLiteral("cb_FireCount"), s.fireCount);
    c.setNumber(QStringLiteral("edt_FireTime"), s.fireTime);

    // The same settings as the other pages show them.
    RefreshCpiLevelsView();
    RefreshFireFields();
    RefreshOptionPictures();
    RefreshLedPictures();
    RefreshAIMKey();

    // The key page follows the mouse's current key mode.
    if (s.keyMode == 1) {
        SelectPageOption(QStringLiteral("rb_2"));
        RefreshProfile2Keys();
    } else {
        SelectPageOption(QStringLiteral("rb_1"));
        RefreshProfile1Keys();
    }
}

void MainWindow::Btn_Save_0Click()
{
    HideAllMenu();
    SetGroupPicture(QStringLiteral("Save"), QStringLiteral("SetS_03"));
    if (!link().hasDevice()) {
        services().showMessage(LookupText(QStringLiteral("Str020")), MessageStyle::Dialog);
        return;
    }
    const std::optional<QString> chosen = services().saveFileName(kSaveFilter, QString());
    if (!chosen || chosen->isEmpty())
        return;
    const std::filesystem::path path = ProfileFilePath(QFileInfo(*chosen).filesystemFilePath());

    // The file holds what the mouse holds; a read that did not bring the
    // whole image must not leave a file that looks like a good profile.
    if (!ReadImageForSave()) {
        // Unless the read showed its own refusal (identity or access), say
        // that the mouse could not be read.
        if (!LastReadRefusalShown)
            services().showMessage(LookupText(QStringLiteral("Str020")), MessageStyle::Dialog);
        return;
    }
    const ProfileSaveResult saved = SaveProfileFile(path, Image.ImageBuf);
    if (!saved.ok)
        services().showMessage(FileErrorText(QString::fromStdU16String(path.u16string()), saved.reason),
                               MessageStyle::Dialog);
}

void MainWindow::Btn_Load_0Click()
{
    HideAllMenu();
    SetGroupPicture(QStringLiteral("Load"), QStringLiteral("SetS_03"));
    if (!link().hasDevice()) {
        services().showMessage(LookupText(QStringLiteral("Str020")), MessageStyle::Dialog);
        return;
    }
    const std::optional<QString> chosen = services().openFileName(kLoadFilter);
    if (!chosen || chosen->isEmpty())
        return;

    ImageBytes loaded = Image.ImageBuf;
    const ProfileLoadResult result = LoadProfileFile(QFileInfo(*chosen).filesystemFilePath(), loaded);
    switch (result.status) {
    case ProfileLoadStatus::CannotRead:
        services().showMessage(FileErrorText(*chosen, result.reason), MessageStyle::Dialog);
        return;
    case ProfileLoadStatus::WrongType:
        services().showMessage(LookupText(QStringLiteral("Str102")), MessageStyle::Dialog);
        return;
    case ProfileLoadStatus::Ok:
        break;
    }
    Image.ImageBuf = loaded;
    MemoToDataBuf_OnClick();
}

void MainWindow::MemoToDataBuf_OnClick()
{
    Image.SplitImage();
    RefreshMacrosFromArea();
    DataBufToUI();

    devTimer().setEnabled(false);
    ShowDisableAll();
    ShowLoading();
    // The file goes to the mouse as loaded; the repairs SplitImage made
    // reach it with the next Apply.
    WriteImage();
    HideLoading();
    devTimer().setEnabled(true);
    HideDisableAll();
}

} // namespace orb
