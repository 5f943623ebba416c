#include "AppFixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace orb;
using namespace orb::test;

namespace
{

struct Mapping : AppFixture {
    QTemporaryDir dir;

    QString text(const char* key) const { return window->skin().LookupText(QString::fromLatin1(key)); }
    QComboBox* combo(const char* name) const { return find<QComboBox>(QString::fromLatin1(name)); }
    QLineEdit* edit(const char* name) const { return find<QLineEdit>(QString::fromLatin1(name)); }
    QString path(const QString& name) const { return dir.filePath(name); }

    void connect(const std::optional<ImageBytes>& memory = std::nullopt) { startRead(memory); }

    static QByteArray bytes(const ImageBytes& image)
    {
        return QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
    }
    static void write(const QString& file, const QByteArray& content)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    static QByteArray read(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // An image unlike the built-in one in every part a profile carries.
    static ImageBytes distinctImage()
    {
        ConfigImage img;
        img.ImageBuf = *LoadDefaultImage(1);
        img.SplitImage();
        img.ParameterA[0x06] = 10; // CPI 1: 6400
        img.ParameterA[0x14] = 0x33;
        img.FireKey[FireIntervalOffset] = 9;
        img.ImageBuf[0x0A0] = 0x5A; // gap
        for (std::size_t i = 0; i < 64; ++i)
            img.MacroArea[i] = std::uint8_t(i + 1);
        img.JoinImage();
        return img.ImageBuf;
    }
};

// --- Engineering page ---

TEST_F(Mapping, EngineeringPageListsAndStates)
{
    start(false);
    struct Items {
        const char* list;
        int count;
        const char* first;
        const char* last;
    };
    const Items lists[] = {
        {"cb_CPI1", 11, "500", "6400"},
        {"cb_CPI7", 11, "500", "6400"},
        {"cb_CPI3Color", 7, "Red", "White"},
        {"cb_SensorOri", 8, "0°", "XY Swap XY NoReverse"},
        {"cb_FireCount", 126, "2", "127"},
        {"cb_CPIStep", 6, "2", "7"},
        {"cb_KeyMode", 2, "Mode A", "Mode B"},
        {"cb_AIMKeyValue", 11, "500", "6400"},
        {"cb_MCULEDCurrentMode", 7, "Mode 1", "Mode 7"},
    };
    for (const Items& l : lists) {
        SCOPED_TRACE(l.list);
        QComboBox* c = combo(l.list);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->count(), l.count);
        EXPECT_EQ(c->itemText(0), QString::fromUtf8(l.first));
        EXPECT_EQ(c->itemText(c->count() - 1), QString::fromUtf8(l.last));
    }
    QWidget* page6 = window->page(6);
    EXPECT_EQ(page6->size(), QSize(1076, 640));
    auto* tabs = find<QTabWidget>(QStringLiteral("Pg_Parameter"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->geometry(), QRect(6, 66, 1053, 484));
    EXPECT_FALSE(tabs->isTabVisible(tabs->indexOf(find(QStringLiteral("ts_Engineer")))));
    EXPECT_FALSE(find(QStringLiteral("ts_Engineer"))->isEnabled());
    EXPECT_TRUE(find(QStringLiteral("Btn_Default"))->isHidden());
    EXPECT_TRUE(find(QStringLiteral("Btn_Engineer_6"))->isHidden());
    // Hardware-bound settings are locked outside engineering mode.
    for (const char* name : {"rb_NorLED", "rb_MCULED", "rb_MCULED3Control", "cb_SensorOri"})
        EXPECT_FALSE(find(QString::fromLatin1(name))->isEnabled()) << name;
    for (const char* name : {"Img_Logo4", "Btn_Close", "lbl_Notes", "lbl_Content", "Btn_Load_6", "btn_Write",
                             "btn_Key109", "btn_Key209", "edt_CPI7B", "edt_VendorID_Rd", "cb_Mode7"})
        EXPECT_NE(find(QString::fromLatin1(name)), nullptr) << name;
}

// The no-device state shows the built-in image: MCU light, six levels, the
// key names of both modes.
TEST_F(Mapping, ShowingTheBuiltInImage)
{
    start(false);
    EXPECT_EQ(combo("cb_CPIStep")->currentIndex(), 4);
    EXPECT_EQ(combo("cb_CurrentCPI")->count(), 6);
    EXPECT_EQ(combo("cb_CurrentCPI")->currentIndex(), 1);
    EXPECT_TRUE(find(QStringLiteral("cb_CPI7"))->isHidden());
    EXPECT_FALSE(find(QStringLiteral("cb_CPI6"))->isHidden());
    EXPECT_EQ(combo("cb_SensorOri")->currentText(), QStringLiteral("180°"));
    EXPECT_EQ(edit("edt_MCULEDNum")->text(), QStringLiteral("10"));
    EXPECT_EQ(combo("cb_MCULEDCurrentMode")->currentIndex(), 1);
    EXPECT_EQ(edit("edt_MCULEDCrtStep")->text(), QStringLiteral("2"));
    EXPECT_EQ(combo("cb_FireCount")->currentText(), QStringLiteral("3"));
    EXPECT_EQ(edit("edt_FireTime")->text(), QStringLiteral("6"));
    EXPECT_EQ(edit("edt_VendorID")->text(), QStringLiteral("255"));
    EXPECT_TRUE(find<QRadioButton>(QStringLiteral("rb_MCULED"))->isChecked());
    EXPECT_FALSE(find(QStringLiteral("gbMCULEDCurrent"))->isHidden());
    EXPECT_TRUE(find(QStringLiteral("gbNorLEDSetting"))->isHidden());
    EXPECT_EQ(window->keyPage().codes(KeyMode::A)[0], QStringLiteral("010100"));
    EXPECT_EQ(window->keyPage().codes(KeyMode::B)[8], QStringLiteral("0600F0"));
    EXPECT_EQ(find<QPushButton>(QStringLiteral("btn_Key101"))->text(), text("Str210"));
    EXPECT_EQ(find<QPushButton>(QStringLiteral("btn_Key201"))->text(), text("Str210"));
    EXPECT_EQ(window->engineerPage().ledTypeShown(), QStringLiteral("MCULED"));
}

TEST_F(Mapping, SmartLightImageAndAimKey)
{
    start(false);
    window->session().image().ParameterA[0x00] |= 0x80;
    window->session().image().ParameterB[2] = 0x09;
    // Key 4 of mode B becomes an AIM key with value 7.
    window->session().image().ProfileKeys[ModeBKeysOffset + 9] = 0x0A;
    window->session().image().ProfileKeys[ModeBKeysOffset + 10] = 7;
    window->session().image().ProfileKeys[ModeBKeysOffset + 11] = 0;
    window->mapping().DataBufToUI();
    EXPECT_TRUE(find<QRadioButton>(QStringLiteral("rb_NorLED"))->isChecked());
    EXPECT_TRUE(find<QRadioButton>(QStringLiteral("rb_LEDOff"))->isChecked());
    EXPECT_TRUE(find(QStringLiteral("gbMCULEDCurrent"))->isHidden());
    EXPECT_FALSE(find(QStringLiteral("gbNorLEDCPIColor"))->isHidden());
    EXPECT_EQ(window->engineerPage().ledTypeShown(), QStringLiteral("ZKLED"));
    EXPECT_EQ(window->keyPage().codes(KeyMode::B)[3], QStringLiteral("0A0700"));
    EXPECT_EQ(combo("cb_AIMKeyValue")->currentIndex(), 7);
    EXPECT_EQ(find<QPushButton>(QStringLiteral("btn_Key204"))->text(), text("Str222"));

    // A value beyond the eleven CPI values shows as the highest, as on the advanced page.
    window->session().image().ProfileKeys[ModeBKeysOffset + 10] = 0xFF;
    window->mapping().DataBufToUI();
    EXPECT_EQ(combo("cb_AIMKeyValue")->currentIndex(), 10);
}

// Storing the shown controls gives back sections A and B, except the bits
// the store never writes (0x001 bits 3-7, 0x003 bits 0-2) and bit 4 of
// 0x032, which it always clears. The buffers are overwritten with their
// complement first, so every bit the store misses shows.
TEST_F(Mapping, StoreAfterShowGivesBackTheSections)
{
    struct Case {
        const char* name;
        void (*edit)(ConfigImage&);
    };
    const Case cases[] = {{"built-in", [](ConfigImage&) {}},
                          {"smart light, mode B, values at their ends", [](ConfigImage& img) {
                               img.ParameterA[0x00] = 0xBA;
                               img.ParameterA[0x01] = 0x07;
                               img.ParameterA[0x02] = 7;
                               img.ParameterA[0x03] = 0x90; // 4 LEDs, 6-line scan
                               for (std::size_t i = 0x06; i < 0x0D; ++i)
                                   img.ParameterA[i] = 10;
                               for (std::size_t i = 0x0D; i < 0x14; ++i)
                                   img.ParameterA[i] = 6;
                               for (std::size_t i = 0x14; i < 0x2F; ++i)
                                   img.ParameterA[i] = std::uint8_t(i * 7);
                               img.ParameterB = {6, 0xF9, 0x01, 0xFE, 0x80, 0x7F, 0x00, 0x12};
                           }}};
    start(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->session().image().ImageBuf = *LoadDefaultImage(1);
        window->session().image().SplitImage();
        c.edit(window->session().image());
        const ParameterABytes a = window->session().image().ParameterA;
        const ParameterBBytes b = window->session().image().ParameterB;
        window->mapping().DataBufToUI();
        for (auto& x : window->session().image().ParameterA)
            x = std::uint8_t(~x);
        for (auto& x : window->session().image().ParameterB)
            x = std::uint8_t(~x);
        window->mapping().UIToDataBuf();
        for (std::size_t i = 0; i < 0x2F; ++i) {
            const std::uint8_t mask = i == 0x01 ? 0x07 : i == 0x03 ? 0xF8 : 0xFF;
            EXPECT_EQ(window->session().image().ParameterA[i] & mask, a[i] & mask)
                << "byte 0x" << std::hex << i;
        }
        for (std::size_t i = 0; i < ParameterBSize; ++i) {
            const std::uint8_t mask = i == 2 ? 0xEF : 0xFF;
            EXPECT_EQ(window->session().image().ParameterB[i] & mask, b[i] & mask)
                << "byte 0x" << std::hex << 0x30 + i;
        }
        EXPECT_EQ(window->session().image().ParameterB[2] & 0x10, 0);
    }
}

// The edits' own corrections (clamping while typing) are not part of the
// store: the values are put in with the edits' change signals blocked.
TEST_F(Mapping, StoreKeepsTheLedCountNibbleOutsideFourToThirteenAndTakesLow8Bits)
{
    start(false);
    const std::uint8_t before = window->session().image().ParameterA[0x03];
    for (const char* count : {"3", "14", ""}) {
        SCOPED_TRACE(count);
        const QSignalBlocker block(edit("edt_MCULEDNum"));
        edit("edt_MCULEDNum")->setText(QString::fromLatin1(count));
        window->mapping().UIToDataBuf();
        EXPECT_EQ(window->session().image().ParameterA[0x03], before);
    }
    {
        const QSignalBlocker block(edit("edt_MCULEDNum"));
        edit("edt_MCULEDNum")->setText(QStringLiteral("4"));
    }
    {
        const QSignalBlocker block(edit("edt_CPI2G"));
        edit("edt_CPI2G")->setText(QStringLiteral("300"));
    }
    window->mapping().UIToDataBuf();
    EXPECT_EQ(window->session().image().ParameterA[0x03] >> 4, 9);
    EXPECT_EQ(window->session().image().ParameterA[0x1A + 4], 44);
}

TEST_F(Mapping, IdentityEditsFallBackTo255)
{
    start(false);
    for (const char* name : {"edt_VendorID", "edt_ProductID"}) {
        SCOPED_TRACE(name);
        QLineEdit* e = edit(name);
        e->clear();
        EXPECT_EQ(e->text(), QStringLiteral("255"));
        e->selectAll();
        QTest::keyClicks(e, QStringLiteral("25"));
        EXPECT_EQ(e->text(), QStringLiteral("25"));
        QTest::keyClicks(e, QStringLiteral("6"));
        EXPECT_EQ(e->text(), QStringLiteral("255"));
        e->setText(QStringLiteral("18"));
    }
    window->mapping().UIToDataBuf();
    EXPECT_EQ(window->session().image().ParameterB[6], 18);
    EXPECT_EQ(window->session().image().ParameterB[7], 18);
}

// --- End to end ---

TEST_F(Mapping, ValueChosenOnTheEngineeringPageReachesTheMouse)
{
    connect();
    combo("cb_CPI1")->setCurrentIndex(9);
    QTest::mouseClick(find<QPushButton>(QStringLiteral("btn_Write")), Qt::LeftButton);
    EXPECT_EQ(mouse.memory[0x006], 9);
    EXPECT_EQ(mouse.memory[0x02F], SectionSum(mouse.memory.data(), 0x2F));
    EXPECT_TRUE(messages().isEmpty());
}

// --- Saving ---

TEST_F(Mapping, SavedFileIsTheMouseMemoryNotTheUnsavedEdits)
{
    connect(distinctImage());
    ASSERT_EQ(combo("cb_CPI1")->currentIndex(), 10);
    combo("cb_CPI1")->setCurrentIndex(0); // not written to the mouse
    services.saveAnswers.push_back(path(QStringLiteral("profile")));
    QTest::mouseClick(find<QPushButton>(QStringLiteral("Btn_Save_6")), Qt::LeftButton);
    const QByteArray saved = read(path(QStringLiteral("profile.bin")));
    EXPECT_EQ(saved.size(), 2048);
    EXPECT_EQ(saved, bytes(mouse.memory));
    EXPECT_EQ(services.fileFilters, QStringList{QStringLiteral("SaveFile(*.bin)|*.bin")});
    EXPECT_TRUE(messages().isEmpty());
    // The controls show the mouse's content again.
    EXPECT_EQ(combo("cb_CPI1")->currentIndex(), 10);
}

TEST_F(Mapping, SavingAppendsBinOnlyWhenMissing)
{
    connect();
    const std::pair<const char*, const char*> names[] = {
        {"a", "a.bin"}, {"b.bin", "b.bin"}, {"c.BIN", "c.BIN"}, {"d.bin.x", "d.bin.x.bin"}};
    for (const auto& [chosen, file] : names) {
        SCOPED_TRACE(chosen);
        services.saveAnswers.push_back(path(QString::fromLatin1(chosen)));
        window->actions().Btn_Save_0Click();
        EXPECT_EQ(read(path(QString::fromLatin1(file))).size(), 2048);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}

// A read that does not bring the whole image saves nothing and leaves an
// existing file alone; the user hears of it once.
struct FailedReadCase {
    const char* name;
    void (*spoil)(SimMouse&);
    MessageStyle style; // of the one message shown
};

struct FailedRead : Mapping, ::testing::WithParamInterface<FailedReadCase> {
};

TEST_P(FailedRead, SavesNothing)
{
    connect();
    const QString file = path(QStringLiteral("kept.bin"));
    write(file, "old profile");
    GetParam().spoil(mouse);
    services.saveAnswers.push_back(file);
    window->actions().Btn_Save_0Click();
    EXPECT_EQ(read(file), QByteArray("old profile"));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].style, GetParam().style);
    if (GetParam().style == MessageStyle::Dialog) {
        EXPECT_EQ(services.messages[0].text, text("Str020"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Mapping, FailedRead,
    ::testing::Values(
        // Silent refusal of the exchange: the save says the mouse was not found.
        FailedReadCase{"silent", [](SimMouse& m) { m.config.refuseWith = 0x55; }, MessageStyle::Dialog},
        // The read procedure shows its own refusal; nothing more is said.
        FailedReadCase{"noAccess", [](SimMouse& m) { m.config.memoryAccess = false; },
                       MessageStyle::PlainBox},
        FailedReadCase{"foreignIdentity", [](SimMouse& m) { m.memory[0x036] = 0x12; },
                       MessageStyle::PlainBox}),
    [](const ::testing::TestParamInfo<FailedReadCase>& info) { return std::string(info.param.name); });

TEST_F(Mapping, SilentFailureAfterAnEarlierRefusalStillSaysSo)
{
    // A foreign mouse stays open after its refusal; a later save whose
    // exchange is refused outright must still say that nothing was saved.
    connect();
    mouse.memory[0x036] = 0x12;
    window->actions().Btn_Read_0Click();
    ASSERT_EQ(messages(), QStringList{text("Str107")});
    services.messages.clear();
    mouse.config.refuseWith = 0x55;
    const QString file = path(QStringLiteral("p.bin"));
    services.saveAnswers.push_back(file);
    window->actions().Btn_Save_0Click();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(messages(), QStringList{text("Str020")});
}

TEST_F(Mapping, UncreatableFileIsReportedWithItsNameAndReason)
{
    connect();
    const QString file = path(QStringLiteral("missing/dir/p.bin"));
    services.saveAnswers.push_back(file);
    window->actions().Btn_Save_0Click();
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].style, MessageStyle::Dialog);
    EXPECT_TRUE(services.messages[0].text.contains(QDir::toNativeSeparators(file)));
    EXPECT_GT(services.messages[0].text.size(), QDir::toNativeSeparators(file).size() + 2);
    EXPECT_TRUE(
        QDir(path(QStringLiteral("missing"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST_F(Mapping, SaveAndLoadWithoutAMouseAskForIt)
{
    start(false);
    window->actions().Btn_Save_0Click();
    window->actions().Btn_Load_0Click();
    EXPECT_EQ(messages(), (QStringList{text("Str020"), text("Str020")}));
    EXPECT_EQ(services.messages[0].style, MessageStyle::Dialog);
    EXPECT_EQ(services.messages[1].style, MessageStyle::Dialog);
    EXPECT_TRUE(services.fileFilters.isEmpty());
}

// --- Loading ---

TEST_F(Mapping, FileWithoutTheMarkerIsRefused)
{
    connect();
    ImageBytes image = distinctImage();
    image[FileTypeMarkerAddr] = 0x98;
    write(path(QStringLiteral("wrong.bin")), bytes(image));
    const ImageBytes before = window->session().image().ImageBuf;
    const ImageBytes memory = mouse.memory;
    services.openAnswers.push_back(path(QStringLiteral("wrong.bin")));
    QTest::mouseClick(find<QPushButton>(QStringLiteral("Btn_Load_6")), Qt::LeftButton);
    EXPECT_EQ(messages(), QStringList{text("Str102")});
    EXPECT_EQ(services.messages[0].style, MessageStyle::Dialog);
    EXPECT_EQ(services.fileFilters, QStringList{QStringLiteral("LoadFile(*.bin)|*.bin")});
    EXPECT_TRUE(window->session().image().ImageBuf == before);
    EXPECT_EQ(combo("cb_CPI1")->currentIndex(), 1);
    EXPECT_TRUE(mouse.requests().empty());
    EXPECT_TRUE(mouse.memory == memory);
}

TEST_F(Mapping, ShortFileWithTheMarkerLoadsOverTheCurrentImage)
{
    connect(distinctImage()); // the image before the load: the mouse's own
    const ImageBytes before = window->session().image().ImageBuf;
    ImageBytes head = *LoadDefaultImage(1);
    head[0x006] = 3; // CPI 1: 1200
    head[0x02F] = SectionSum(head.data(), 0x2F);
    write(path(QStringLiteral("short.bin")), bytes(head).left(128));
    services.openAnswers.push_back(path(QStringLiteral("short.bin")));
    window->actions().Btn_Load_0Click();

    EXPECT_TRUE(messages().isEmpty());
    ImageBytes expected = before;
    std::copy_n(head.begin(), 128, expected.begin());
    EXPECT_TRUE(window->session().image().ImageBuf == expected);
    EXPECT_TRUE(mouse.memory == expected); // written as loaded
    EXPECT_EQ(combo("cb_CPI1")->currentIndex(), 3);
}

TEST_F(Mapping, UnreadableFileSendsNothing)
{
    connect();
    for (const QString& file : {path(QStringLiteral("absent.bin")), dir.path()}) {
        SCOPED_TRACE(file.toStdString());
        services.messages.clear();
        services.openAnswers.push_back(file);
        window->actions().Btn_Load_0Click();
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].style, MessageStyle::Dialog);
        const QString shown = QDir::toNativeSeparators(file);
        EXPECT_TRUE(services.messages[0].text.startsWith(shown));
        EXPECT_GT(services.messages[0].text.size(), shown.size() + 2); // and why
    }
    EXPECT_TRUE(mouse.requests().empty());
}

} // namespace
