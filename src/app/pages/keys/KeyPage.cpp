// The key page: the nine button captions of the edited key mode, the AIM
// value bar of the advanced page, and what ties them to the model.
#include "app/pages/keys/KeyPage.h"
#include "app/base/Colours.h"

#include "app/base/ButtonHover.h"
#include "app/base/Captions.h"
#include "app/base/PageStack.h"
#include "app/base/Skin.h"
#include "app/pages/keys/CombinationDialog.h"
#include "app/pages/keys/ComboKeyOptions.h"
#include "app/pages/keys/KeyMenu.h"
#include "app/pages/macros/MacroPage.h"
#include "app/session/DeviceSession.h"

#include "keys/KeyCodes.h"
#include "keys/MenuPlacement.h"

#include <QComboBox>
#include <QListWidget>
#include <QRadioButton>
#include <QtDebug>

namespace orb
{

namespace
{
constexpr QSize kKeyPictureSize(170, 27);
constexpr int kAimSegments = 11;

QString engineerButtonName(KeyMode mode, int key)
{
    return QStringLiteral("btn_Key%1%2").arg(mode == KeyMode::A ? 1 : 2).arg(key, 2, 10, QLatin1Char('0'));
}
} // namespace

KeyPage::KeyPage(const PageContext& context, MacroPage& macros)
    : Page(context, 1), macros_(macros), Keys{ModeACodes, ModeBCodes, context.session.image().ProfileKeys}
{
    build();
}

void KeyPage::build()
{
    QWidget* keyPage = container();

    // The key page's overlay lies over the background, under the captions.
    if (!keyPage->findChild<QWidget*>(QStringLiteral("Img_P1"))) {
        auto* overlay = new ClickLabel(keyPage);
        overlay->setObjectName(QStringLiteral("Img_P1"));
        overlay->move(90, 130);
        OnClick(overlay, this, [this] { context().hideAllMenu(); });
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
        hover().wireButtonVisuals(label); // picture and caption scrolling under the pointer
        OnClick(label, this, [this, label] { ShowPnlMain_OnClick(label); });
        DescribeControl(label, {ControlRole::MenuButton, {}, {}, {}});
        labels_[std::size_t(n - 1)] = label;
    }

    // The AIM value bar of the advanced page.
    QWidget* advanced = stack().page(2);
    QList<ClickLabel*> aimCells;
    for (int n = 1; n <= kAimSegments; ++n) {
        const QString name = QStringLiteral("Img_AIMKey_%1").arg(n);
        QWidget* bar = advanced->findChild<QWidget*>(name);
        if (!bar) {
            bar = new ClickLabel(advanced);
            bar->setObjectName(name);
            bar->resize(20, 18);
        }
        OnClick(bar, this, [this, n] { AIMKeyVlaue_OnClick(n); });
        if (auto* cell = qobject_cast<ClickLabel*>(bar))
            aimCells << cell;
    }
    new ValueBar(advanced, QStringLiteral("Bar_AIMKey"), aimCells, [advanced] {
        const auto* caption = advanced->findChild<QLabel*>(QStringLiteral("lbl_AIMKey"));
        return caption ? caption->text() : QString();
    });
    if (!advanced->findChild<QWidget*>(QStringLiteral("lbl_AIMKeyValue"))) {
        auto* value = new QLabel(advanced);
        value->setObjectName(QStringLiteral("lbl_AIMKeyValue"));
        value->resize(40, 18);
    }

    comboKeys_ = new ComboKeyOptions(keyPage, skin());
    menu_ = new KeyMenu(window(), skin().languageIndex(), context().hideAllMenu);
    menu_->setParent(this); // goes with the page
    menu_->setPickHandler([this](QLabel* item) { KeyStatusOnClick(item); });
    menu_->setCombinationHandler([this] { Key_AssemblyClick(); });
    OpenCombinationDialog = [this] {
        // The dialog is not modal: the key menu and the key mode may change
        // before its confirm, which still goes to the key it was opened for.
        TForm2::Open(window(), skin(),
                     {[this, target = menuTargetNow()](const QString& text, const QString& code) {
                          SetCombination(text, code);
                          applyCombinationTo(target);
                      },
                      [this] { ClearCombination(); }});
    };
    connect(menu_->macroList(), &QListWidget::clicked, this,
            [this](const QModelIndex& i) { LB_NameClick(i.row()); });
    try {
        KeyPage::ApplyLayout(skin().layoutSection());
    } catch (const LayoutError& e) {
        qWarning("%s", e.what()); // a fault of the embedded texts
    }
}

void KeyPage::ConnectEngineerKeyButtons()
{
    const char* const connectedFlag = "keyMenuConnected";
    for (const KeyMode mode : {KeyMode::A, KeyMode::B})
        for (int key = 1; key <= KeyCount; ++key) {
            const QString name = QStringLiteral("btn_Key%1%2")
                                     .arg(mode == KeyMode::A ? 1 : 2)
                                     .arg(key, 2, 10, QLatin1Char('0'));
            QWidget* button = stack().page(6)->findChild<QWidget*>(name);
            if (!button || button->property(connectedFlag).toBool())
                continue;
            button->setProperty(connectedFlag, true);
            OnClick(button, this, [this, button] { TLShowPnlMain_OnClick(button); });
        }
    auto* aim = stack().page(6)->findChild<QComboBox*>(QStringLiteral("cb_AIMKeyValue"));
    if (aim && !aim->property(connectedFlag).toBool()) {
        aim->setProperty(connectedFlag, true);
        // Only the user's choice: the list is also set when an image is shown.
        connect(aim, &QComboBox::activated, this, [this](int index) { cb_AIMKeyValueChange(index); });
    }
}

// --- Model and captions ---

void KeyPage::LoadKeyCodes()
{
    Keys.LoadCodes();
}

KeyMode KeyPage::EditedKeyMode() const
{
    const QString state = stack().PageState();
    if (state == QLatin1String("rb_2"))
        return KeyMode::B;
    if (state == QLatin1String("rb_1"))
        return KeyMode::A;
    return shownMode_;
}

void KeyPage::RebuildKeyNames()
{
    Keys.RebuildKeyNames(skin().lookup(), macros_.BaseMacroNames());
}

void KeyPage::ShowKeyCaptions(KeyMode mode)
{
    shownMode_ = mode;
    const TextLookup text = skin().lookup();
    const QStringList macros = macros_.BaseMacroNames();
    for (std::size_t k = 0; k < KeyCount; ++k) {
        ClickLabel* label = labels_[k];
        const QString name = KeyFunctionName(Keys.codes(mode)[k], text, macros);
        label->setText(name);
        if (hover().scroll().name == label->objectName())
            hover().scroll().restart(name); // leaving the label shows the new name
    }
    session().clock().pumpEvents();
}

void KeyPage::Retranslate()
{
    comboKeys_->Retranslate();
    const KeyMode mode = EditedKeyMode();
    for (std::size_t k = 0; k < KeyCount; ++k) {
        ClickLabel* label = labels_[k];
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
        label->setText(skin().LookupText(key));
        if (hover().scroll().name == label->objectName())
            hover().scroll().restart(label->text());
    }
}

// --- AIM value ---

void KeyPage::AIMKeyToDataBuf(ProfileKeysBytes& profile)
{
    RebuildKeyNames();
    KeyAssignments view(ModeACodes, ModeBCodes, profile);
    view.WriteAimValue(Keys.AimValue);
}

void KeyPage::RefreshAIMKey()
{
    RebuildKeyNames();
    if (const auto value = Keys.AimValueFromProfile())
        Keys.AimValue = *value;
    RedrawAimDisplay();
}

void KeyPage::RedrawAimDisplay()
{
    const int value = std::clamp(Keys.AimValue, 0, MaxAimValue);
    for (int n = 1; n <= kAimSegments; ++n) {
        const bool lit = skin().org().DPILED_Status == 1 ? n == value + 1 : n <= value + 1;
        skin().SetPicture(QStringLiteral("Img_AIMKey_%1").arg(n),
                          lit ? QStringLiteral("Bar2_E") : QStringLiteral("Bar2_D"));
    }
    if (auto* label = stack().page(2)->findChild<QLabel*>(QStringLiteral("lbl_AIMKeyValue")))
        label->setText(skin().textSlots().cpiValues[std::size_t(value)]);
}

void KeyPage::AIMKeyVlaue_OnClick(int n)
{
    RebuildKeyNames();
    auto* list = stack().page(6)->findChild<QComboBox*>(QStringLiteral("cb_AIMKeyValue"));
    if (Keys.ChooseAimValue(n - 1)) {
        RedrawAimDisplay();
        if (list)
            list->setCurrentIndex(Keys.AimValue);
        return;
    }
    if (list)
        list->setCurrentIndex(0);
    session().RefreshFormMessagDialog(NoAimKeyMessage);
    // Value 0 shows as the first segment alone, whatever the bar style.
    for (int k = 1; k <= kAimSegments; ++k)
        skin().SetPicture(QStringLiteral("Img_AIMKey_%1").arg(k),
                          k == 1 ? QStringLiteral("Bar2_E") : QStringLiteral("Bar2_D"));
    if (auto* label = stack().page(2)->findChild<QLabel*>(QStringLiteral("lbl_AIMKeyValue")))
        label->setText(skin().textSlots().cpiValues[0]);
}

void KeyPage::cb_AIMKeyValueChange(int index)
{
    RebuildKeyNames();
    if (!Keys.ChooseAimValue(index)) {
        if (auto* list = stack().page(6)->findChild<QComboBox*>(QStringLiteral("cb_AIMKeyValue")))
            list->setCurrentIndex(0);
        session().RefreshFormMessagDialog(NoAimKeyMessage);
    }
    RedrawAimDisplay();
}

// The key page's captions for key mode A or B (page selection asks for them).
void KeyPage::RefreshProfile1Keys()
{
    ShowKeyCaptions(KeyMode::A);
}

void KeyPage::RefreshProfile2Keys()
{
    ShowKeyCaptions(KeyMode::B);
}

// --- Assignment menu ---

void KeyPage::ShowPnlMain_OnClick(QWidget* label)
{
    MenuTargetIsEngineer = false;
    MenuTarget = KeyNumberFromName(label->objectName());
    if (IsKeyNumber(MenuTarget))
        skin().SetPicture(QStringLiteral("Img_Key%1").arg(MenuTarget), QStringLiteral("KeyS_01"));
    // The caption goes back to its name; the scrolling forgets it, so that
    // leaving the label later cannot put back a name the pick has replaced.
    if (hover().scroll().name == label->objectName()) {
        setCaption(label, hover().scroll().saved);
        hover().scroll().name.clear();
        hover().labelRun().setEnabled(false);
    }
    context().hideAllMenu();
    menu_->openAtLabel(label);
}

void KeyPage::TLShowPnlMain_OnClick(QWidget* button)
{
    MenuTargetIsEngineer = true;
    MenuTarget = ButtonNumberFromName(button->objectName());
    context().hideAllMenu();
    menu_->openAtEngineerButton(button, MenuTarget);
}

void KeyPage::KeyStatusOnClick(QLabel* item)
{
    context().hideAllMenu();
    const QString code = CodeForMenuItem(item->property("tag").toInt(), Keys.AimValue);
    if (code.isEmpty())
        return;
    // The item reads blank, marker, blank, name.
    AssignToMenuTarget(item->text().mid(3), code);
}

bool KeyPage::AssignToMenuTarget(const QString& name, const QString& code)
{
    KeyMode mode = KeyMode::A;
    int key = -1;
    std::array<QWidget*, KeyCount> targets{};
    if (MenuTargetIsEngineer) {
        const auto target = EngineerButtonTarget(MenuTarget);
        if (!target)
            return false;
        mode = target->mode;
        key = target->key;
        for (int k = 1; k <= KeyCount; ++k)
            targets[std::size_t(k - 1)] = stack().page(6)->findChild<QWidget*>(engineerButtonName(mode, k));
    } else {
        if (!IsKeyNumber(MenuTarget))
            return false;
        mode = EditedKeyMode();
        key = MenuTarget;
        for (std::size_t k = 0; k < KeyCount; ++k)
            targets[k] = labels_[k];
    }

    KeyTexts shown;
    for (std::size_t k = 0; k < KeyCount; ++k)
        shown[k] = captionOf(targets[k]);
    const bool accepted = Keys.PickFunction(mode, key, code, name, shown, skin().textSlots().leftButtonName);
    QWidget* target = targets[std::size_t(key - 1)];
    setCaption(target, shown[std::size_t(key - 1)]);
    if (target && hover().scroll().name == target->objectName())
        hover().scroll().restart(shown[std::size_t(key - 1)]);
    if (!accepted)
        session().RefreshFormMessagDialog(skin().textSlots().keepLeftButton);
    return accepted;
}

void KeyPage::LB_NameClick(int c)
{
    context().hideAllMenu();
    KeyMode mode = EditedKeyMode();
    int key = MenuTarget;
    QWidget* target = nullptr;
    std::array<QWidget*, KeyCount> targets{};
    if (MenuTargetIsEngineer) {
        const auto t = EngineerButtonTarget(MenuTarget);
        if (!t)
            return;
        mode = t->mode;
        key = t->key;
        for (int k = 1; k <= KeyCount; ++k)
            targets[std::size_t(k - 1)] = stack().page(6)->findChild<QWidget*>(engineerButtonName(mode, k));
    } else {
        if (!IsKeyNumber(MenuTarget))
            return;
        for (std::size_t k = 0; k < KeyCount; ++k)
            targets[k] = labels_[k];
    }
    target = targets[std::size_t(key - 1)];

    // A slot used only by this key counts as free.
    QString& code = Keys.codes(mode)[std::size_t(key - 1)];
    const QString remembered = code;
    code = QStringLiteral("000000");
    const int slot = macros_.FindBaseMacroCount(c, ModeACodes, ModeBCodes);
    if (slot == NoSlot) {
        code = remembered;
        return;
    }
    const QString name = macros_.library().NameList().value(c);
    KeyTexts shown;
    for (std::size_t k = 0; k < KeyCount; ++k)
        shown[k] = captionOf(targets[k]);
    const QString& left = skin().textSlots().leftButtonName;
    if (!LeftKeyRuleAccepts(shown, key, name, left)) {
        // The key becomes the left button again, its bytes with its text,
        // so that what the caption says is what the mouse gets.
        code = remembered;
        Keys.SetKey(mode, key, QStringLiteral("010100"));
        setCaption(target, left);
        session().RefreshFormMessagDialog(skin().textSlots().keepLeftButton);
        return;
    }
    const QString macroCode = macros_.PutLibraryMacroInSlot(c, slot);
    if (macroCode.isEmpty()) {
        code = remembered;
        return;
    }
    Keys.SetKey(mode, key, macroCode);
    setCaption(target, name);
    if (target && hover().scroll().name == target->objectName())
        hover().scroll().restart(name);
}

void KeyPage::Key_AssemblyClick()
{
    context().hideAllMenu();
    session().clock().pumpEvents();
    CombinationPending = false;
    CombinationText.clear();
    CombinationCode.clear();
    if (OpenCombinationDialog)
        OpenCombinationDialog();
}

void KeyPage::ApplyCombination()
{
    applyCombinationTo(menuTargetNow());
}

void KeyPage::applyCombinationTo(const CombinationTarget& to)
{
    if (!CombinationPending)
        return;
    QWidget* target = nullptr;
    if (to.engineer) {
        const auto t = EngineerButtonTarget(to.target);
        if (!t)
            return;
        target = stack().page(6)->findChild<QWidget*>(engineerButtonName(t->mode, t->key));
        Keys.SetKey(t->mode, t->key, CombinationCode);
    } else {
        if (!IsKeyNumber(to.target))
            return;
        Keys.SetKey(to.mode, to.target, CombinationCode);
        // Key1..Key9 show the edited mode; the other mode's captions follow
        // its codes when it is shown.
        if (to.mode == EditedKeyMode())
            target = labels_[std::size_t(to.target - 1)];
    }
    setCaption(target, CombinationText);
    if (target && hover().scroll().name == target->objectName())
        hover().scroll().restart(CombinationText);
}

void KeyPage::SetCombination(const QString& text, const QString& code)
{
    CombinationPending = true;
    CombinationText = text;
    CombinationCode = code;
}

void KeyPage::HideAllMenu()
{
    menu_->HideAllMenu();
}

// --- Steps ---

void KeyPage::DataBufToUI()
{
    for (std::size_t k = 0; k < KeysPerMode; ++k) {
        const auto code = [this](std::size_t offset) {
            const ProfileKeysBytes& keys = image().ProfileKeys;
            return BytesToCode(keys[offset], keys[offset + 1], keys[offset + 2]);
        };
        ModeACodes[k] = code(ModeAKeysOffset + k * KeyCodeSize);
        ModeBCodes[k] = code(ModeBKeysOffset + k * KeyCodeSize);
    }
}

void KeyPage::ShowKeyMode(int keyMode, bool selectKeyPage)
{
    imageKeyMode_ = keyMode;
    // The key page follows the image's key mode when it is the page
    // selected; another selected page stays selected, so that its button
    // stays marked while it is the page shown.
    const QString state = stack().PageState();
    const bool keyPageSelected = state == QLatin1String("rb_1") || state == QLatin1String("rb_2");
    if (!selectKeyPage && !keyPageSelected)
        return;
    if (keyMode == 1) {
        stack().SelectPageOption(QStringLiteral("rb_2"));
        RefreshProfile2Keys();
    } else {
        stack().SelectPageOption(QStringLiteral("rb_1"));
        RefreshProfile1Keys();
    }
}

void KeyPage::ApplyLayout(const LayoutText& section)
{
    menu_->ApplyKeyMenuLayout(section);
    comboKeys_->ApplyLayout(section);
    // The AIM bar of the advanced page.
    const LayoutPoint steps = section.point(QStringLiteral("AIMKey_Steps_"));
    const int gap = section.intValue(QStringLiteral("AIMKey_Steps_D"));
    for (int n = 1; n <= 11; ++n)
        if (auto* bar = stack().page(2)->findChild<QLabel*>(QStringLiteral("Img_AIMKey_%1").arg(n))) {
            const int width =
                bar->pixmap().isNull() ? 20 : int(bar->pixmap().deviceIndependentSize().width());
            bar->move(steps.x + (n - 1) * (gap + width), steps.y);
        }
    if (auto* value = stack().page(2)->findChild<QLabel*>(QStringLiteral("lbl_AIMKeyValue"))) {
        const LayoutPoint at = section.point(QStringLiteral("AIMKey_Value_"));
        value->move(at.x, at.y);
        QFont f = value->font();
        f.setPointSize(section.intValue(QStringLiteral("Size_D")));
        value->setFont(f);
        const Rgb c = section.colour(QStringLiteral("Color_D_notSelected_"));
        setTextColour(value, toColour(c));
    }
}

} // namespace orb
