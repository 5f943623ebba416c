// The macro page: the mouse's seven macro slots, the macro library and its
// file, the open macro as a script shown in LB_macro, and recording from
// the keyboard and mouse buttons through the input capture.
#include "app/pages/macros/MacroPage.h"

#include "app/base/ButtonHover.h"
#include "app/base/ClickLabel.h"
#include "app/base/Colours.h"
#include "app/base/DialogLook.h"
#include "app/base/Skin.h"
#include "app/pages/macros/InsertPanel.h"
#include "app/pages/macros/MacroEditor.h"
#include "app/pages/macros/MacroList.h"
#include "app/session/DeviceSession.h"
#include "macros/MacroRecorder.h"
#include "skin/CaptionTexts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace orb
{

namespace
{
// Context menus of the macro page; they close with the key menu.
constexpr const char* kMacroPagePopups[] = {"Pnl_PCMacro", "Pnl_DevContent"};
constexpr QSize kPictureButton(110, 27);

// The delay choices of the box, in the order of their layout rows.
struct DelayOption {
    const char* radio;
    const char* marker;
    const char* label;
    const char* textKey;
};
constexpr DelayOption kDelayOptions[] = {
    {"rb_RecDelay", "LED_RecDelay", "IB_RecDelay", "Str414"},
    {"rb_DelayTime", "LED_DelayTime", "IB_DelayTime", "Str415"},
    {"rb_NoDelay", "LED_NoDelay", "IB_NoDelay", "Str416"},
};
constexpr int kOptionBlanks = 7;

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}
} // namespace

MacroPage::MacroPage(const PageContext& context, MacroPageDeps deps) : Page(context, 4)
{
    build();
    files_ = std::make_unique<MacroLibraryFiles>(*this, this->context(), std::move(deps.programFolder),
                                                 std::move(deps.dataFolder), pcList_, lineList_,
                                                 std::move(deps.readFile));
    recording_ = std::make_unique<MacroRecording>(
        *this, this->context(), std::move(deps.inputCapture),
        MacroRecordControls{startButton_, rbDelayTime_, rbNoDelay_, delayEdit_, lineList_, fontColour_});
    state_.setOnChange([this] { ShowState(); });
}

MacroPage::~MacroPage()
{
    recording_.reset(); // no event reaches the page while it goes
}

void MacroPage::build()
{
    QWidget* page = container();

    pcList_ = new QListWidget(page);
    pcList_->setObjectName(QStringLiteral("LB_PCMacroName"));
    pcList_->setGeometry(160, 176, 222, 304);
    pcRows_ = new MacroListDelegate(false, pcList_);
    pcList_->setItemDelegate(pcRows_);
    // Whatever selects an entry (a click, the keys, a drag) opens it; a click
    // on the open entry opens it again as stored.
    connect(pcList_, &QListWidget::itemSelectionChanged, this, [this] { followListSelection(); });
    connect(pcList_, &QListWidget::clicked, this, [this] { LB_PCMacroNameClick(); });

    // The mouse's slot names: kept for the key captions, never shown.
    deviceList_ = new QListWidget(page);
    deviceList_->setObjectName(QStringLiteral("LB_MacroName"));
    deviceRows_ = new MacroListDelegate(false, deviceList_);
    deviceList_->setItemDelegate(deviceRows_);
    deviceList_->hide();

    lineList_ = new QListWidget(page);
    lineList_->setObjectName(QStringLiteral("LB_macro"));
    lineList_->setGeometry(400, 176, 198, 304);
    lineRows_ = new MacroListDelegate(true, lineList_);
    lineList_->setItemDelegate(lineRows_);
    lineList_->setUniformItemSizes(true);
    connect(lineList_, &QListWidget::clicked, this, [this] { HideAllMenu(); }); // ClearMacro
    KeepCurrentItem(pcList_);
    KeepCurrentItem(lineList_);
    editor_ = new MacroEditor(*this, lineList_, pcList_, window(), skin(), hover(),
                              [this](const QString& text) { session().RefreshFormMessagDialog(text); });

    // Record / stop: a caption over its picture.
    auto* startPicture = new QLabel(page);
    startPicture->setObjectName(QStringLiteral("Img_Start"));
    startPicture->setGeometry(QRect(QPoint(666, 216), kPictureButton));
    startButton_ = new ClickLabel(page);
    startButton_->setObjectName(QStringLiteral("Btn_Start"));
    startButton_->setGeometry(startPicture->geometry());
    startButton_->setAlignment(Qt::AlignCenter);
    hover().wireButtonVisuals(startButton_);
    connect(startButton_, &ClickLabel::clicked, this, [this] { Btn_StartClick(); });
    connect(startButton_, &ClickLabel::entered, this, [this] { SetPointerOnRecordButton(true); });
    connect(startButton_, &ClickLabel::left, this, [this] { SetPointerOnRecordButton(false); });
    DialogLook::FollowPointer(startButton_, startPicture, skin(), QStringLiteral("MacroS_"));

    // The delay box: three delay choices, the fixed delay, the release mode.
    delayBox_ = new QWidget(page);
    delayBox_->setObjectName(QStringLiteral("Gb_Delay"));
    delayBox_->setGeometry(616, 292, 230, 170);
    for (int i = 0; i < 3; ++i) {
        const DelayOption& o = kDelayOptions[i];
        auto* radio = new QRadioButton(delayBox_);
        radio->setObjectName(QLatin1String(o.radio));
        radio->hide();
        auto* marker = new QLabel(delayBox_);
        marker->setObjectName(QLatin1String(o.marker));
        auto* label = new ClickLabel(delayBox_);
        label->setObjectName(QLatin1String(o.label));
        label->resize(150, 20);
        connect(label, &ClickLabel::clicked, this, [this, i] { chooseDelay(i); });
        DescribeControl(label, {ControlRole::RadioButton, {}, [radio] { return radio->isChecked(); }, {}});
        (i == 0 ? rbRecDelay_ : i == 1 ? rbDelayTime_ : rbNoDelay_) = radio;
    }
    delayEdit_ = new QLineEdit(delayBox_);
    delayEdit_->setObjectName(QStringLiteral("Edt_Delay"));
    delayEdit_->setGeometry(137, 60, 44, 20);
    delayEdit_->setText(QStringLiteral("50"));
    connect(delayEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        // Edt_DelayChange: above 2040 becomes 2040, below 0 becomes 0.
        if (text.isEmpty() || text == QLatin1String("-"))
            return;
        const QString clamped = QString::number(ClampDelayText(text));
        if (clamped != text)
            delayEdit_->setText(clamped);
    });
    const std::pair<const char*, const char*> releases[] = {{"Img_ReleaseStop", "IB_ReleaseStop"},
                                                            {"Img_ReleaseContiue", "IB_ReleaseContiue"}};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(delayBox_);
        radio->setObjectName(i == 0 ? QStringLiteral("rb_ReleaseStop")
                                    : QStringLiteral("rb_ReleaseContinue"));
        radio->setAutoExclusive(false);
        radio->hide();
        (i == 0 ? rbReleaseStop_ : rbReleaseContinue_) = radio;
        auto* marker = new QLabel(delayBox_);
        marker->setObjectName(QLatin1String(releases[i].first));
        auto* label = new ClickLabel(delayBox_);
        label->setObjectName(QLatin1String(releases[i].second));
        label->resize(200, 20);
        connect(label, &ClickLabel::clicked, this, [this, i] { chooseRelease(i == 0); });
        DescribeControl(label, {ControlRole::RadioButton, {}, [radio] { return radio->isChecked(); }, {}});
    }
    chooseDelay(0);
    chooseRelease(false);
}

// --- Choices ---

void MacroPage::chooseDelay(int mode)
{
    QRadioButton* radios[] = {rbRecDelay_, rbDelayTime_, rbNoDelay_};
    radios[mode]->setChecked(true);
    for (int i = 0; i < 3; ++i)
        skin().SetPicture(QLatin1String(kDelayOptions[i].marker),
                          i == mode ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"));
    // Only the fixed delay is typed; the others show it greyed.
    delayEdit_->setEnabled(true);
    delayEdit_->setReadOnly(mode != 1);
    setTextColour(delayEdit_, mode == 1 ? fontColour_ : kGrey);
}

void MacroPage::chooseRelease(bool stop)
{
    rbReleaseStop_->setChecked(stop);
    rbReleaseContinue_->setChecked(!stop);
    skin().SetPicture(QStringLiteral("Img_ReleaseStop"),
                      stop ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"));
    skin().SetPicture(QStringLiteral("Img_ReleaseContiue"),
                      stop ? QStringLiteral("RdS_D") : QStringLiteral("RdS_E"));
}

bool MacroPage::ReleaseStopChosen() const
{
    return rbReleaseStop_->isChecked();
}

// --- Device slots ---

QStringList MacroPage::BaseMacroNames() const
{
    return DeviceMacroNameList(Device);
}

int MacroPage::FindBaseMacroCount(int c, std::span<const QString> modeACodes,
                                  std::span<const QString> modeBCodes) const
{
    if (c < 0 || c >= LibraryEntryCount || LibraryNameEmpty(library().Names[std::size_t(c)]))
        return NoSlot;
    return orb::FindBaseMacroCount(modeACodes, modeBCodes, library().Names[std::size_t(c)], Device);
}

QString MacroPage::PutLibraryMacroInSlot(int c, int slot)
{
    if (c < 0 || c >= LibraryEntryCount)
        return {};
    const QString code =
        PutMacroInSlot(Device, slot, library().Names[std::size_t(c)], library().Records[std::size_t(c)]);
    if (code.isEmpty())
        return {};
    fillNameLists();
    RefreshBaseMacroBuf(Device, image().MacroArea);
    return code;
}

void MacroPage::fillNameLists()
{
    // RefreshMacroName: slot n at row n - 1, empty slots as empty rows.
    deviceList_->clear();
    deviceList_->addItems(BaseMacroNames());
}

void MacroPage::RefreshMacrosFromArea()
{
    Device = ReadAndRefreshMacro(image().MacroArea);
    fillNameLists();
}

void MacroPage::UIToDataBuf()
{
    RefreshBaseMacroBuf(Device, image().MacroArea);
}

// --- Library ---

int MacroPage::SelectedLibraryMacro() const
{
    return state_.openEntry();
}

int MacroPage::selectedRow() const
{
    // The list selects one entry at most; its current item may lie elsewhere.
    const QList<QListWidgetItem*> selected = pcList_->selectedItems();
    if (selected.size() != 1)
        return -1;
    const int row = pcList_->row(selected.front());
    return row >= 0 && row < library().Count() ? row : -1;
}

void MacroPage::followListSelection()
{
    if (showingState_ || selectedRow() == state_.openEntry())
        return;
    openLibraryMacro(selectedRow());
}

void MacroPage::LB_PCMacroNameClick()
{
    openLibraryMacro(selectedRow());
}

void MacroPage::openLibraryMacro(int k)
{
    if (!state_.open(k)) {
        ShowState(); // a recording runs: the list shows its macro again
        return;
    }
    HideAllMenu();
    Script.clear();
    lineList_->clear();
    if (k >= 0)
        decodeRecord(k, true);
}

void MacroPage::ReloadOpenMacro()
{
    Script.clear();
    lineList_->clear();
    const int k = state_.openEntry();
    if (k >= 0 && k < LibraryEntryCount)
        decodeRecord(k, false);
}

bool MacroPage::FollowOpenMacro(int k, bool recordChanged)
{
    if (k < 0 || k >= library().Count()) {
        CloseMacro();
        return false;
    }
    if (!state_.mayEdit())
        return true; // nothing is saved while a recording runs
    if (!recordChanged) {
        state_.open(k); // the same macro, perhaps under another number
        return true;
    }
    state_.close();
    state_.open(k);
    Script.clear();
    lineList_->clear();
    decodeRecord(k, true);
    return false;
}

void MacroPage::decodeRecord(int k, bool releaseChoice)
{
    const MacroRecord& record = library().Records[std::size_t(k)];
    if (MacroRecordEmpty(record))
        return;
    const DecodedMacro decoded = DecodeRecord(record);
    if (releaseChoice && decoded.releaseStop)
        chooseRelease(*decoded.releaseStop);
    Script = decoded.script;
    switch (decoded.delay.mode) {
    case DelayMode::Recorded:
        chooseDelay(0);
        break;
    case DelayMode::Fixed:
        delayEdit_->setText(QString::number(decoded.delay.fixedMs));
        chooseDelay(1);
        break;
    case DelayMode::None:
        chooseDelay(2);
        break;
    }
    RefreshMacroList(Script.itemCount() - 1);
}

void MacroPage::CloseMacro()
{
    if (!state_.close())
        return;
    Script.clear();
    lineList_->clear();
}

void MacroPage::StoreScript()
{
    // Only the open macro, and never under a running recording.
    const int k = state_.openEntry();
    if (!state_.mayEdit() || k < 0 || k >= LibraryEntryCount)
        return;
    library().Records[std::size_t(k)] = EncodeScript(Script, ReleaseStopChosen()).record;
    RefreshPCMacro();
}

void MacroPage::ShowState()
{
    if (!files_ || !recording_ || !editor_)
        return; // still being built
    // The library list shows the open macro selected, and nothing else.
    const int k = state_.openEntry();
    showingState_ = true;
    if (k >= 0 && k < pcList_->count()) {
        if (selectedRow() != k)
            pcList_->setCurrentRow(k);
    } else if (pcList_->currentRow() >= 0 || !pcList_->selectedItems().isEmpty()) {
        pcList_->setCurrentRow(-1);
        pcList_->clearSelection();
    }
    showingState_ = false;
    // While a recording runs, only the button that stops it takes input.
    const bool idle = state_.mayEdit();
    const bool inserting = state_.insertPanelOpen();
    pcList_->setEnabled(idle);
    lineList_->setEnabled(idle);
    deviceList_->setEnabled(idle && !inserting);
    delayBox_->setEnabled(idle);
    startButton_->setEnabled(!inserting);
    editor_->ShowState();
}

// --- Script and list ---

void MacroPage::RefreshMacroList(int selection)
{
    const int n = Script.itemCount();
    while (lineList_->count() > n)
        delete lineList_->takeItem(lineList_->count() - 1);
    while (lineList_->count() < n)
        lineList_->addItem(new QListWidgetItem);
    for (int i = 0; i < n; ++i) {
        QListWidgetItem* item = lineList_->item(i);
        const QString line = Script.item(i);
        if (item->data(MacroLineRole).toString() == line && !item->data(MacroLineTextRole).isNull())
            continue;
        item->setData(MacroLineRole, line);
        item->setData(MacroLineTextRole, DisplayText(line));
        item->setData(MacroLineKindRole, KindOf(line).value_or(-1));
    }
    if (selection >= 0 && selection < n) {
        lineList_->setCurrentRow(selection);
        lineList_->scrollToItem(lineList_->item(selection));
    }
}

int MacroPage::CurrentLine() const
{
    const int row = lineList_->currentRow();
    return row >= 0 && row < Script.itemCount() ? row : -1;
}

// --- Window steps ---

bool MacroPage::MacroInsertMode() const
{
    return state_.insertPanelOpen();
}

void MacroPage::ShowMacroBoxes()
{
    // The delay box and the insert box share their place on the macro page.
    const bool inserting = MacroInsertMode();
    if (auto* box = window()->findChild<QWidget*>(QStringLiteral("Gb_Delay")))
        box->setVisible(!inserting);
    for (const char* name : {"Gb_Insert", "Img_InsertBase"})
        if (auto* box = window()->findChild<QWidget*>(QLatin1String(name)))
            box->setVisible(inserting);
}

void MacroPage::ClearMacroTexts() {}

void MacroPage::HideAllMenu()
{
    for (const char* name : kMacroPagePopups)
        if (auto* popup = window()->findChild<QWidget*>(QLatin1String(name)))
            popup->hide();
}

void MacroPage::BeforeLanguageChange()
{
    auto* insertList = window()->findChild<QComboBox*>(QStringLiteral("CB_Insert"));
    insertIndex_ = insertList ? insertList->currentIndex() : -1;
    if (auto* delayBox = window()->findChild<QWidget*>(QStringLiteral("Gb_Delay")))
        delayBox->hide();
}

void MacroPage::AfterLanguageChange()
{
    if (auto* insertList = window()->findChild<QComboBox*>(QStringLiteral("CB_Insert")))
        insertList->setCurrentIndex(insertIndex_);
}

void MacroPage::ApplyLayout(const LayoutText& section)
{
    const LayoutPoint names = section.point(QStringLiteral("PCMacroName_"));
    pcList_->setGeometry(names.x, names.y, pcList_->width(),
                         section.intValue(QStringLiteral("PCMacroName_H")));
    const LayoutPoint lines = section.point(QStringLiteral("MacroContent_"));
    lineList_->setGeometry(lines.x, lines.y, lineList_->width(), pcList_->height());
    const LayoutPoint start = section.point(QStringLiteral("BtnStart_"));
    if (QWidget* picture = container()->findChild<QWidget*>(QStringLiteral("Img_Start")))
        picture->move(start.x, start.y);
    startButton_->move(start.x, start.y);
    editor_->insertPanel().ApplyLayout(section);
    const LayoutPoint box = section.point(QStringLiteral("DelayTime_"));
    delayBox_->move(box.x, box.y);
    const LayoutPoint options = section.point(QStringLiteral("RecDelay_"));
    const int step = section.intValue(QStringLiteral("RecDelay_H"));
    for (int i = 0; i < 3; ++i) {
        const DelayOption& o = kDelayOptions[i];
        if (QWidget* marker = delayBox_->findChild<QWidget*>(QLatin1String(o.marker)))
            marker->move(options.x, options.y + i * step);
        if (QWidget* label = delayBox_->findChild<QWidget*>(QLatin1String(o.label)))
            label->move(options.x - 2, options.y + i * step);
    }
    const LayoutPoint edit = section.point(QStringLiteral("DelayEdit_"));
    delayEdit_->move(edit.x, edit.y);
    const std::pair<const char*, std::pair<const char*, const char*>> releases[] = {
        {"ReleaseStop_", {"Img_ReleaseStop", "IB_ReleaseStop"}},
        {"ReleaseContinue_", {"Img_ReleaseContiue", "IB_ReleaseContiue"}}};
    for (const auto& [key, controls] : releases) {
        const LayoutPoint p = section.point(QLatin1String(key));
        if (QWidget* marker = delayBox_->findChild<QWidget*>(QLatin1String(controls.first)))
            marker->move(p.x, p.y);
        if (QWidget* label = delayBox_->findChild<QWidget*>(QLatin1String(controls.second)))
            label->move(p.x - 2, p.y);
    }

    // Fonts, colours and the rows of the three lists (start-up step 11).
    const int size = section.intValue(QStringLiteral("Size_F"));
    const QColor caption = toColour(section.colour(QStringLiteral("Color_F_")));
    const QColor listBack = toColour(section.colour(QStringLiteral("Color_F_LBack_")));
    const QColor border = toColour(section.colour(QStringLiteral("Color_F_LBorder_")));
    fontColour_ = toColour(section.colour(QStringLiteral("Color_F_Font_")));
    const QColor editBack = toColour(section.colour(QStringLiteral("Color_F_Back_")));
    const int rowHeight = section.intValue(QStringLiteral("MacroNameHeight"));
    for (QListWidget* list : {pcList_, deviceList_, lineList_}) {
        QFont f = list->font();
        f.setPointSize(size);
        list->setFont(f);
        list->setStyleSheet(QStringLiteral("QListWidget { color: %1; background-color: %2; border: none; }"
                                           "QListWidget::item:selected { background-color: %3; }")
                                .arg(cssRgb(fontColour_), cssRgb(listBack), cssRgb(border)));
        setScrollBarColours(list, listBack, fontColour_);
    }
    for (MacroListDelegate* rows : {pcRows_, deviceRows_, lineRows_}) {
        rows->setRowHeight(rowHeight);
        rows->setColours(fontColour_, listBack, border);
    }
    // New row heights: each list shows its current item again, or its first,
    // never an offset left from the old heights.
    for (QListWidget* list : {lineList_, pcList_}) {
        list->doItemsLayout();
        if (QListWidgetItem* current = list->currentItem())
            list->scrollToItem(current);
        else
            list->scrollToTop();
    }
    for (QWidget* w : delayBox_->findChildren<QLabel*>()) {
        QFont f = w->font();
        f.setPointSize(size);
        w->setFont(f);
        setTextColour(w, caption);
    }
    QFont f = startButton_->font();
    f.setPointSize(size);
    startButton_->setFont(f);
    setTextColour(startButton_, caption);
    delayEdit_->setFont(f);
    delayEdit_->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; border: 1px solid %2; }")
                                  .arg(cssRgb(editBack), cssRgb(border)));
    setTextColour(delayEdit_, rbDelayTime_->isChecked() && !Recording() ? fontColour_ : kGrey);
    editor_->applyLook(size, caption, fontColour_, editBack);
}

void MacroPage::Retranslate()
{
    editor_->insertPanel().Retranslate();
    recording_->Retranslate();
    pcList_->setAccessibleName(skin().LookupText(QStringLiteral("Str865")));
    lineList_->setAccessibleName(skin().LookupText(QStringLiteral("Str866")));
    delayEdit_->setAccessibleName(skin().LookupText(QStringLiteral("Str417")));
    if (auto* list = window()->findChild<QComboBox*>(QStringLiteral("CB_Insert"))) {
        const QStringList& keys = InsertListKeys();
        for (int i = 0; i < keys.size(); ++i) {
            if (i < list->count())
                list->setItemText(i, skin().LookupText(keys[i]));
            else
                list->addItem(skin().LookupText(keys[i]));
        }
    }
    for (const DelayOption& o : kDelayOptions)
        if (auto* label = delayBox_->findChild<QLabel*>(QLatin1String(o.label)))
            label->setText(blanks(kOptionBlanks) + skin().LookupText(QLatin1String(o.textKey)));
    if (auto* label = delayBox_->findChild<QLabel*>(QStringLiteral("IB_ReleaseStop")))
        label->setText(blanks(kOptionBlanks) + skin().LookupText(QStringLiteral("Str436")));
    if (auto* label = delayBox_->findChild<QLabel*>(QStringLiteral("IB_ReleaseContiue")))
        label->setText(blanks(kOptionBlanks) + skin().LookupText(QStringLiteral("Str437")));
    // The record button says what a click does now.
    startButton_->setText(skin().LookupText(state_.recording() == MacroPageState::Recording::Normal
                                                ? QStringLiteral("Str401")
                                                : QStringLiteral("Str400")));
}

void MacroPage::ResetNoDevice()
{
    if (state_.recordingRuns())
        recording_->stopRecording();
    // The macro texts and lists of the last mouse go.
    CloseMacro();
    deviceList_->clear();
    for (const char* name : {"mmo_macro", "mmo_wrscript"})
        if (auto* text = window()->findChild<QPlainTextEdit*>(QString::fromLatin1(name)))
            text->clear();
}

void MacroPage::DeviceLost()
{
    if (state_.recordingRuns())
        recording_->stopRecording();
    CloseMacro();
}

} // namespace orb
