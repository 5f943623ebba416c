// The key page: the nine button captions of the edited key mode, the AIM
// value bar of the advanced page, and what ties them to the model.
#include "app/KeyMenu.h"
#include "app/MainWindow.h"

#include "keys/KeyCodes.h"

#include <QComboBox>
#include <QRadioButton>
#include <QtDebug>

namespace orb
{

namespace
{
constexpr QSize kKeyPictureSize(170, 27);
constexpr int kAimSegments = 11;
} // namespace

void MainWindow::buildKeyPage()
{
    keyUi_ = new KeyWidgets(this);
    QWidget* keyPage = page(1);

    // The key page's overlay lies over the background, under the captions.
    if (!keyPage->findChild<QWidget*>(QStringLiteral("Img_P1"))) {
        auto* overlay = new ClickLabel(keyPage);
        overlay->setObjectName(QStringLiteral("Img_P1"));
        overlay->move(90, 130);
        OnClick(overlay, this, [this] { HideAllMenu(); });
        overlay->lower();
        if (QWidget* base = keyPage->findChild<QWidget*>(QStringLiteral("Img_Base_1")))
            base->lower();
    }

    for (int n = 1; n <= KeyCount; ++n) {
        auto* picture = keyPage->findChild<QLabel*>(QStringLiteral("Img_Key%1").arg(n));
        if (!picture) {
            picture = new QLabel(keyPage);
            picture->setObjectName(QStringLiteral("Img_Key%1").arg(n));
            picture->resize(kKeyPictureSize);
        }
        auto* label = new ClickLabel(keyPage);
        label->setObjectName(QStringLiteral("Key%1").arg(n));
        label->setGeometry(QRect(picture->pos(), kKeyPictureSize));
        label->setAlignment(Qt::AlignCenter);
        wireButtonVisuals(label); // picture and caption scrolling under the pointer
        OnClick(label, this, [this, label] { ShowPnlMain_OnClick(label); });
        keyUi_->labels[std::size_t(n - 1)] = label;
    }

    // The AIM value bar of the advanced page.
    QWidget* advanced = page(2);
    for (int n = 1; n <= kAimSegments; ++n) {
        const QString name = QStringLiteral("Img_AIMKey_%1").arg(n);
        QWidget* bar = advanced->findChild<QWidget*>(name);
        if (!bar) {
            bar = new ClickLabel(advanced);
            bar->setObjectName(name);
            bar->resize(20, 18);
        }
        OnClick(bar, this, [this, n] { AIMKeyVlaue_OnClick(n); });
    }
    if (!advanced->findChild<QWidget*>(QStringLiteral("lbl_AIMKeyValue"))) {
        auto* value = new QLabel(advanced);
        value->setObjectName(QStringLiteral("lbl_AIMKeyValue"));
        value->resize(40, 18);
    }

    buildKeyMenu();
    try {
        ApplyKeyMenuLayout(LoadLayoutSection(LanguageIndex));
    } catch (const LayoutError& e) {
        qWarning("%s", e.what()); // a fault of the embedded texts
    }
    ConnectEngineerKeyButtons();
}

void MainWindow::ConnectEngineerKeyButtons()
{
    const char* const connectedFlag = "keyMenuConnected";
    for (const KeyMode mode : {KeyMode::A, KeyMode::B})
        for (int key = 1; key <= KeyCount; ++key) {
            const QString name = QStringLiteral("btn_Key%1%2")
                                     .arg(mode == KeyMode::A ? 1 : 2)
                                     .arg(key, 2, 10, QLatin1Char('0'));
            QWidget* button = page(6)->findChild<QWidget*>(name);
            if (!button || button->property(connectedFlag).toBool())
                continue;
            button->setProperty(connectedFlag, true);
            OnClick(button, this, [this, button] { TLShowPnlMain_OnClick(button); });
        }
    auto* aim = page(6)->findChild<QComboBox*>(QStringLiteral("cb_AIMKeyValue"));
    if (aim && !aim->property(connectedFlag).toBool()) {
        aim->setProperty(connectedFlag, true);
        // Only the user's choice: the list is also set when an image is shown.
        connect(aim, &QComboBox::activated, this, [this](int index) { cb_AIMKeyValueChange(index); });
    }
}

// --- Model and captions ---

void MainWindow::LoadKeyCodes()
{
    Keys.LoadCodes();
}

KeyMode MainWindow::EditedKeyMode() const
{
    if (auto* b = findChild<QRadioButton*>(QStringLiteral("rb_2")); b && b->isChecked())
        return KeyMode::B;
    if (auto* a = findChild<QRadioButton*>(QStringLiteral("rb_1")); a && a->isChecked())
        return KeyMode::A;
    return keyUi_ ? keyUi_->shownMode : KeyMode::A;
}

void MainWindow::RebuildKeyNames()
{
    Keys.RebuildKeyNames([this](const QString& key) { return LookupText(key); }, BaseMacroNames());
}

void MainWindow::ShowKeyCaptions(KeyMode mode)
{
    if (!keyUi_)
        return;
    keyUi_->shownMode = mode;
    const TextLookup text = [this](const QString& key) { return LookupText(key); };
    const QStringList macros = BaseMacroNames();
    for (std::size_t k = 0; k < KeyCount; ++k) {
        ClickLabel* label = keyUi_->labels[k];
        const QString name = KeyFunctionName(Keys.codes(mode)[k], text, macros);
        label->setText(name);
        if (Scroll.name == label->objectName())
            Scroll.restart(name); // leaving the label shows the new name
    }
    clock_.pumpEvents();
}

void MainWindow::RetranslateKeyCaptions()
{
    if (!keyUi_)
        return;
    const KeyMode mode = EditedKeyMode();
    for (std::size_t k = 0; k < KeyCount; ++k) {
        ClickLabel* label = keyUi_->labels[k];
        const QString caption = label->text();
        QString key = FindTextKey(caption);
        if (key.isEmpty())
            continue; // a keyboard key or a macro name stays as it is
        // Some texts stand for two functions ("后退" is both Back and WWW
        // Back); the button's own function decides which.
        if (const auto code = ParseCode(Keys.codes(mode)[k])) {
            const QString own = NamedCodeKey(*code);
            for (int language = 1; !own.isEmpty() && language <= LanguageCount; ++language)
                if (orb::LookupText(LoadLanguagePack(language), own) == caption)
                    key = own;
        }
        label->setText(LookupText(key));
        if (Scroll.name == label->objectName())
            Scroll.restart(label->text());
    }
}

// --- AIM value ---

void MainWindow::AIMKeyToDataBuf(ProfileKeysBytes& profile)
{
    RebuildKeyNames();
    KeyAssignments view(ModeACodes, ModeBCodes, profile);
    view.WriteAimValue(Keys.AimValue);
}

void MainWindow::RefreshAIMKey()
{
    RebuildKeyNames();
    if (const auto value = Keys.AimValueFromProfile())
        Keys.AimValue = *value;
    RedrawAimDisplay();
}

void MainWindow::RedrawAimDisplay()
{
    const int value = std::clamp(Keys.AimValue, 0, MaxAimValue);
    for (int n = 1; n <= kAimSegments; ++n) {
        const bool lit = DPILED_Status == 1 ? n == value + 1 : n <= value + 1;
        SetPicture(QStringLiteral("Img_AIMKey_%1").arg(n),
                   lit ? QStringLiteral("Bar2_E") : QStringLiteral("Bar2_D"));
    }
    if (auto* label = page(2)->findChild<QLabel*>(QStringLiteral("lbl_AIMKeyValue")))
        label->setText(Slots.cpiValues[std::size_t(value)]);
}

void MainWindow::AIMKeyVlaue_OnClick(int n)
{
    RebuildKeyNames();
    auto* list = page(6)->findChild<QComboBox*>(QStringLiteral("cb_AIMKeyValue"));
    if (Keys.ChooseAimValue(n - 1)) {
        RedrawAimDisplay();
        if (list)
            list->setCurrentIndex(Keys.AimValue);
        return;
    }
    if (list)
        list->setCurrentIndex(0);
    RefreshFormMessagDialog(NoAimKeyMessage);
    // Value 0 shows as the first segment alone, whatever the bar style.
    for (int k = 1; k <= kAimSegments; ++k)
        SetPicture(QStringLiteral("Img_AIMKey_%1").arg(k),
                   k == 1 ? QStringLiteral("Bar2_E") : QStringLiteral("Bar2_D"));
    if (auto* label = page(2)->findChild<QLabel*>(QStringLiteral("lbl_AIMKeyValue")))
        label->setText(Slots.cpiValues[0]);
}

void MainWindow::cb_AIMKeyValueChange(int index)
{
    RebuildKeyNames();
    if (!Keys.ChooseAimValue(index)) {
        if (auto* list = page(6)->findChild<QComboBox*>(QStringLiteral("cb_AIMKeyValue")))
            list->setCurrentIndex(0);
        RefreshFormMessagDialog(NoAimKeyMessage);
    }
    RedrawAimDisplay();
}

// The key page's captions for key mode A or B (page selection asks for them).
void MainWindow::RefreshProfile1Keys()
{
    ShowKeyCaptions(KeyMode::A);
}

void MainWindow::RefreshProfile2Keys()
{
    ShowKeyCaptions(KeyMode::B);
}

} // namespace orb
