// Typed settings and single changes by path: generated images through the
// JSON form onto the default image, the bytes each assignment changes, the
// refusals of set on a profile file, and the schema table in docs/.
#include "ctl/SettingsJson.h"
#include "ctl/Ctl.h"
#include "ctl/MouseLink.h"
#include "image/DefaultImages.h"
#include "image/SettingsRules.h"
#include "keys/KeyCodes.h"
#include "keys/KeyTable.h"
#include "macros/MacroCodec.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace orb;
using namespace orb::ctl;

namespace
{

ConfigImage DefaultConfig()
{
    ConfigImage image;
    image.ImageBuf = *LoadDefaultImage(1);
    image.SplitImage();
    return image;
}

// A valid image as the window would write it: random controls through the
// store rules, random key codes, random macros in random slots.
ConfigImage GeneratedImage(std::mt19937& rng)
{
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto pair = [&] { return pick(0, 1) ? PairChoice::First : PairChoice::Second; };
    ConfigImage image = DefaultConfig();
    SettingsControls c;
    ShowSettings(image.ParameterA, image.ParameterB, image.FireKey, c);
    c.mcpi = pair();
    c.fireFn = pair();
    c.lcpi = pair();
    c.noSave = pair();
    c.ledType = pair();
    c.sensorOri = pick(0, 7);
    c.midPress = pick(0, 1);
    c.cpiPress = pick(0, 1);
    c.gunPress = pick(0, 1);
    c.cpiStep = pick(0, 5);
    c.mcuScan = pair();
    c.mcuLedNum = pick(4, 13);
    for (bool& m : c.mcuModes)
        m = pick(0, 1);
    c.norLedStep = pick(0, 255);
    for (int& v : c.cpiValue)
        v = pick(0, 10);
    for (int& v : c.cpiColour)
        v = pick(0, 6);
    for (auto& v : c.keyModeRgb)
        v = pick(0, 255);
    for (auto& v : c.cpiRgb)
        v = pick(0, 255);
    c.currentCpi = pick(0, c.cpiStep + 1);
    c.norLedCpi = pick(0, 1);
    c.mcuCurrentMode = pick(0, 6);
    c.mcuStep = pick(0, 7);
    c.ledOff = pair();
    c.keyMode = pick(0, 1);
    c.fireCount = pick(0, 125);
    c.fireTime = pick(0, 255);
    StoreSettings(c, image.ParameterA, image.ParameterB, image.FireKey);

    // Any three bytes: named, keyboard, macro and AIM codes and those
    // without a name alike.
    for (std::size_t k = 0; k < 2 * KeysPerMode * KeyCodeSize; ++k)
        image.ProfileKeys[k] = std::uint8_t(pick(0, 255));
    for (std::size_t k = 0; k < 6; ++k) { // and some of the common ones
        const std::size_t at = std::size_t(pick(0, 17)) * KeyCodeSize;
        const std::uint8_t type = std::array<std::uint8_t, 4>{1, 2, 6, 0x0A}[std::size_t(pick(0, 3))];
        image.ProfileKeys[at] = type;
        if (type == 6) {
            const std::uint16_t address = BaseMacroAddress(pick(1, 7));
            image.ProfileKeys[at + 1] = std::uint8_t(address >> 8);
            image.ProfileKeys[at + 2] = std::uint8_t(address);
        } else if (type == 0x0A) {
            image.ProfileKeys[at + 1] = std::uint8_t(pick(0, 10));
            image.ProfileKeys[at + 2] = 0;
        }
    }

    DeviceMacros device{};
    const auto keys = KeyTable();
    for (std::size_t slot = 0; slot < DeviceSlotCount; ++slot) {
        if (pick(0, 2) == 0)
            continue;
        QString name;
        for (int n = pick(1, 16); n > 0; --n)
            name += QChar(pick(0, 3) ? QChar('a' + pick(0, 25)) : QChar(0x4E00 + pick(0, 200)));
        MacroScript script;
        script.Lines << MacroScript::Header({});
        for (int n = pick(1, 40); n > 0; --n) {
            // Decoding joins a run of pauses into one line, so the record
            // would come back with the same time in other bytes; the
            // recorder writes one pause before each event.
            const bool afterPause = KindOf(script.Lines.last()) == LineKind::Pause;
            // Pauses in whole steps of 8 ms: a remainder that rounds to
            // nothing is stored as a pause byte of its own.
            switch (pick(afterPause ? 1 : 0, 4)) {
            case 0:
                script.Lines << PauseLine(8 * pick(1, MaxRecordedPauseMs / 8));
                break;
            case 1:
                script.Lines << KeyLine(pick(0, 1), keys[std::size_t(pick(0, int(keys.size()) - 1))].vk);
                break;
            case 2:
                script.Lines << ButtonLine(pick(0, 1), MacroButton(1 << pick(0, 4)));
                break;
            case 3:
                script.Lines << MoveLine(pick(0, 1) ? MoveAxis::X : MoveAxis::Y, pick(-128, 127));
                break;
            default:
                script.Lines << LoopStartLine(pick(1, 20)) << PauseLine(8 * pick(1, 40)) << LoopEndLine();
            }
        }
        device.Names[slot] = MacroNameStrToUnicode(name);
        device.Records[slot] = EncodeScript(script, pick(0, 1)).record;
    }
    RefreshBaseMacroBuf(device, image.MacroArea);
    image.JoinImage();
    return image;
}

TEST(SettingsJson, GeneratedImagesComeBackThroughTheirJsonOntoTheDefault)
{
    std::mt19937 rng(5610);
    for (int round = 0; round < 100; ++round) {
        const ConfigImage source = GeneratedImage(rng);
        // Through the text, as a pipe between two commands carries it.
        const QByteArray text = QJsonDocument(SettingsJson(source)).toJson();
        Assignments assignments;
        ASSERT_FALSE(DocumentAssignments(QJsonDocument::fromJson(text).object(), assignments));
        ConfigImage target = DefaultConfig();
        const auto refusal = ApplyAssignments(target, assignments);
        ASSERT_FALSE(refusal) << round << ": " << refusal->text.toStdString();
        for (std::size_t at = 0; at < ImageSize; ++at)
            ASSERT_EQ(target.ImageBuf[at], source.ImageBuf[at])
                << "round " << round << " byte 0x" << std::hex << at << "\n"
                << text.toStdString();
    }
}

TEST(SettingsJson, EachAssignmentChangesItsBytesAndTheChecksumOnly)
{
    // Offsets in the default image and the byte each one takes, written out:
    // a mapping wrong the same way in both directions still comes back
    // through the JSON form. 0x02F, 0x076 and 0x0FA are the checksums.
    const struct {
        const char* assignment;
        std::map<std::size_t, std::uint8_t> changed;
    } cases[] = {
        {"cpi.count=7", {{0x002, 0x07}, {0x02F, 0x71}}},
        {"cpi.current=3", {{0x030, 0x02}, {0x031, 0xFD}}},
        {"cpi.levels.3.cpi=3200", {{0x008, 0x07}, {0x02F, 0x71}}},
        {"cpi.levels.7.named_colour=0", {{0x013, 0x00}, {0x02F, 0x7E}}},
        {"cpi.levels.1.colour=#102030", {{0x01A, 0x10}, {0x01B, 0x20}, {0x01C, 0x30}, {0x02F, 0xD1}}},
        {"keys.A.2=\"Right Key\"", {{0x044, 0x02}, {0x076, 0x00}}},
        {"keys.B.9=Ctrl+Shift+A", {{0x073, 0x02}, {0x074, 0x03}, {0x075, 0x04}, {0x076, 0x35}}},
        {"keys.A.9=Macro 2 until release", {{0x058, 0x0E}, {0x059, 0x02}, {0x05A, 0x21}, {0x076, 0xCD}}},
        {"keys.B.1=AIM Key 3200", {{0x05B, 0x0A}, {0x05C, 0x07}, {0x076, 0x31}}},
        {"keys.A.1=code 0C0101", {{0x040, 0x0C}, {0x042, 0x01}, {0x076, 0x32}}},
        // The smart light's CPI breathing is a setting of its own, off here.
        {"light.type=\"smart LED\"", {{0x000, 0xC5}, {0x02F, 0xF0}, {0x032, 0x00}, {0x033, 0xFF}}},
        {"light.lights_on=false", {{0x032, 0x4A}, {0x033, 0xB5}}},
        {"light.led_count=4", {{0x003, 0x98}, {0x02F, 0xD0}}},
        {"light.control_lines=6", {{0x003, 0x30}, {0x02F, 0x78}}},
        {"light.modes.7=false", {{0x004, 0x7F}, {0x02F, 0xF0}}},
        {"light.mode=3", {{0x032, 0x43}, {0x033, 0xBC}}},
        {"light.mode=Mode 4", {{0x032, 0x44}, {0x033, 0xBB}}},
        {"light.step=5", {{0x032, 0xA2}, {0x033, 0x5D}}},
        {"light.normal_step=9", {{0x005, 0x09}, {0x02F, 0x69}}},
        {"light.key_mode_colours.2=#000000", {{0x017, 0x00}, {0x018, 0x00}, {0x019, 0x00}, {0x02F, 0x77}}},
        {"light.middle_cpi_switch=false", {{0x000, 0x44}, {0x02F, 0x73}}},
        {"fire.count=5", {{0x0F2, 0x04}, {0x0FA, 0x94}}},
        {"fire.interval=200", {{0x0F8, 0xC8}, {0x0FA, 0xD4}}},
        {"fire.enabled=true", {{0x000, 0x47}, {0x02F, 0x76}}},
        {"options.key_mode=B", {{0x034, 0x80}, {0x035, 0x7F}}},
        {"options.key_mode_memory=false", {{0x000, 0x4D}, {0x02F, 0x68}}},
        {"options.long_press.gun=true", {{0x001, 0xFC}, {0x02F, 0x74}}},
        {"options.sensor_orientation=\"90°\"", {{0x000, 0x25}, {0x02F, 0x50}}},
    };
    const ConfigImage before = DefaultConfig();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.assignment);
        Assignments a;
        ASSERT_FALSE(ParseAssignment(QString::fromUtf8(c.assignment), a));
        ConfigImage after = before;
        const auto refusal = ApplyAssignments(after, a);
        ASSERT_FALSE(refusal) << refusal->text.toStdString();
        std::map<std::size_t, std::uint8_t> changed;
        for (std::size_t at = 0; at < ImageSize; ++at)
            if (after.ImageBuf[at] != before.ImageBuf[at])
                changed[at] = after.ImageBuf[at];
        EXPECT_EQ(changed, c.changed);
    }
}

TEST(SettingsJson, AMacroSlotTakesItsNameAndLinesAndNothingOutsideTheSlot)
{
    Assignments a;
    ASSERT_FALSE(ParseAssignment(QStringLiteral("macros.2.name=Reload"), a));
    ASSERT_FALSE(ParseAssignment(QStringLiteral("macros.2.lines=[\"%1\",\"0 50\",\"%2\"]")
                                     .arg(KeyLine(true, 'R'), KeyLine(false, 'R')),
                                 a));
    ConfigImage image = DefaultConfig();
    const ConfigImage before = image;
    const auto refusal = ApplyAssignments(image, a);
    ASSERT_FALSE(refusal) << refusal->text.toStdString();
    for (std::size_t at = 0; at < ImageSize; ++at) {
        if (at < 0x200 || at > 0x2FF) {
            ASSERT_EQ(image.ImageBuf[at], before.ImageBuf[at]) << std::hex << at;
        }
    }
    const QJsonObject slot = SettingsJson(image)["macros"].toArray()[1].toObject();
    EXPECT_EQ(slot["name"].toString(), "Reload");
    EXPECT_EQ(slot["lines"].toArray().size(), 3);
    EXPECT_EQ(slot["lines"].toArray()[1].toString(), "0 48");
}

struct SetFileTest : ::testing::Test {
    QTemporaryDir dir;
    QString out, err;
    QString path = dir.filePath(QStringLiteral("p.bin"));

    void SetUp() override
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(LoadDefaultImage(1)->data()), qsizetype(ImageSize));
    }
    QByteArray bytes() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    int run(const QStringList& args, const QByteArray& input = {})
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        QBuffer in;
        in.setData(input);
        in.open(QIODevice::ReadOnly);
        Environment env;
        env.makeHid = [] { return std::unique_ptr<HidPlatform>(); };
        env.out = &o;
        env.err = &e;
        env.in = &in;
        return RunCtl(args, env);
    }
};

TEST_F(SetFileTest, RefusalsNameTheAllowedValuesAndLeaveTheFileAsItWas)
{
    QFile json(dir.filePath(QStringLiteral("bad.json")));
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(R"({"cpi": {"levels": [{"cpi": 700}]}})");
    json.close();
    const struct {
        QStringList args;
        int code;
        const char* message;
    } cases[] = {
        {{"cpi.levels.3.cpi=3300"}, ExitUsage, "allowed: 500, 800, 1000"},
        {{"cpi.current=7"}, ExitUsage, "allowed: 1..6"},
        {{"cpi.count=3", "cpi.current=5"}, ExitUsage, "allowed: 1..3"},
        {{"cpi.count=8"}, ExitUsage, "allowed: 2..7"},
        {{"cpi.levels.8.cpi=800"}, ExitUsage, "allowed: 1..7"},
        {{"keys.A.2=Right Button"}, ExitUsage, "Right Key"},
        {{"keys.A.2=Macro 8"}, ExitUsage, "Macro 1..7"},
        {{"light.key_mode_colours.1=#12345"}, ExitUsage, "#RRGGBB"},
        {{"cpi.levels.1.colour=red"}, ExitUsage, "#RRGGBB"},
        {{"light.mode=9"}, ExitUsage, "1..7"},
        {{"light.type=\"smart LED\"", "light.mode=3"}, ExitUsage, "MCU light only"},
        {{"light.cpi_breathing=true"}, ExitUsage, "smart light only"},
        {{"fire.count=1"}, ExitUsage, "2..127"},
        // Numbers no int holds, and fractions, are refused as they are.
        {{"fire.count=1e300"}, ExitUsage, "1e+300 is not allowed; allowed: 2..127"},
        {{"fire.count=-4294967294"}, ExitUsage, "2..127"},
        {{"cpi.levels.1.cpi=4294968096"}, ExitUsage, "500, 800"},
        {{"light.control_lines=3.5"}, ExitUsage, "3, 6"},
        {{"options.key_mode_memory=yes"}, ExitUsage, "true"},
        {{"cpi.speed=3"}, ExitUsage, "cpi.levels.1..7.cpi"},
        {{"identity.maker=1"}, ExitUsage, "read only"},
        {{"macros.1.name=ABCDEFGHIJKLMNOPQ"}, ExitUsage, "16 characters"},
        {{"macros.1.lines=[\"9 oops\"]"}, ExitUsage, "not a script line"},
        {{"fire.count"}, ExitUsage, "PATH=VALUE"},
        // The good first assignment does not get in either.
        {{"fire.count=5", "fire.interval=300"}, ExitUsage, "0..255"},
        {{"--from", dir.filePath(QStringLiteral("bad.json"))}, ExitBadFile, "cpi.levels.1.cpi: 700"},
        {{"--from", dir.filePath(QStringLiteral("none.json"))}, ExitBadFile, "none.json"},
    };
    const QByteArray before = bytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(run(QStringList{"set", path} + c.args), c.code);
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.message))) << err.toStdString();
        EXPECT_EQ(bytes(), before);
    }
    EXPECT_EQ(run({"set", path, "--from", "-"}, "{\"cpi\": 3"), ExitBadFile);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(run({"set", dir.filePath(QStringLiteral("missing.bin")), "fire.count=5"}), ExitBadFile);

    // A short profile is not grown into a whole one.
    QFile shortFile(dir.filePath(QStringLiteral("short.bin")));
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(before.left(0x80));
    shortFile.close();
    EXPECT_EQ(run({"set", shortFile.fileName(), "fire.count=5"}), ExitBadFile);
    EXPECT_TRUE(err.contains("a whole profile has 2048")) << err.toStdString();
    EXPECT_EQ(QFileInfo(shortFile.fileName()).size(), 0x80);
}

TEST_F(SetFileTest, SetChangesTheFileInPlaceAndTakesAShowDocumentFromStandardInput)
{
    EXPECT_EQ(run({"set", path, "cpi.levels.3.cpi=3200", "keys.A.2=Right Key", "keys.A.3=Middle Key"}),
              ExitOk);
    EXPECT_EQ(out, path + ": 3 settings set\n");
    EXPECT_EQ(run({"--json", "show", path}), ExitOk);
    const QJsonObject changed = QJsonDocument::fromJson(out.toUtf8()).object();
    EXPECT_EQ(changed["cpi"]["levels"][2]["cpi"].toInt(), 3200);
    EXPECT_EQ(changed["keys"]["A"][1].toString(), "Right Key");
    EXPECT_EQ(changed["keys"]["A"][2].toString(), "Middle Key");
    EXPECT_EQ(changed["cpi"]["count"].toInt(), 6);
    EXPECT_EQ(changed["light"]["type"].toString(), "MCU LED");
    EXPECT_TRUE(changed["light"]["cpi_breathing"].isNull());

    // Back to the default through a show document on standard input.
    const QString other = dir.filePath(QStringLiteral("d.bin"));
    QFile::copy(path, other);
    ASSERT_EQ(
        run({"set", path, "--from", "-", "fire.count=9"}, R"({"cpi": {"levels": [{}, {}, {"cpi": 2400}]},
        "keys": {"A": [null, "Middle Key", "Right Key"]}})"),
        ExitOk);
    QByteArray expected = bytes();
    EXPECT_EQ(run({"set", other, "fire.count=9", "cpi.levels.3.cpi=2400", "keys.A.2=Middle Key",
                   "keys.A.3=Right Key"}),
              ExitOk);
    QFile f(other);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), expected);

    // Judged against the file, not the default image: a smart light with
    // seven levels takes its own settings.
    EXPECT_EQ(run({"set", path, "light.type=smart LED", "cpi.count=7"}), ExitOk);
    EXPECT_EQ(run({"set", path, "light.cpi_breathing=true", "cpi.current=7"}), ExitOk) << err.toStdString();
    EXPECT_EQ(run({"--json", "show", path}), ExitOk);
    const QJsonObject smart = QJsonDocument::fromJson(out.toUtf8()).object();
    EXPECT_TRUE(smart["light"]["cpi_breathing"].toBool());
    EXPECT_EQ(smart["cpi"]["current"].toInt(), 7);

    EXPECT_EQ(run({"set", "--list-paths"}), ExitOk);
    EXPECT_TRUE(out.startsWith("cpi.count\ncpi.current\ncpi.levels.1.cpi\n"));
    EXPECT_TRUE(out.contains("\nkeys.B.9\n"));
    EXPECT_FALSE(out.contains("identity"));
}

// Every row of the table in docs/SETTINGS-JSON.md is a row of the program's
// schema and the other way round.
TEST(SettingsJson, TheSchemaTableInTheDocsMatchesTheProgram)
{
    QFile doc(QStringLiteral(ORB_SOURCE_DIR "/docs/SETTINGS-JSON.md"));
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
    QStringList rows;
    for (const QString& line : QString::fromUtf8(doc.readAll()).split('\n'))
        if (line.startsWith(QLatin1String("| `")))
            rows << line.trimmed();
    QStringList expected;
    for (const SettingField& f : SettingFields())
        expected << QStringLiteral("| `%1` | %2 | %3 | %4 |")
                        .arg(QString::fromUtf8(f.path), QString::fromUtf8(f.type),
                             QString::fromUtf8(f.allowed), QString::fromUtf8(f.bytes));
    EXPECT_EQ(rows, expected);
}

} // namespace
