#include "skin/LanguagePack.h"
#include "skin/TextSlots.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace orb;

namespace
{

QByteArray utf16le(const QString& text, bool bom = true)
{
    QByteArray out;
    if (bom)
        out.append("\xFF\xFE", 2);
    for (QChar c : text) {
        out.append(static_cast<char>(c.unicode() & 0xFF));
        out.append(static_cast<char>(c.unicode() >> 8));
    }
    return out;
}

} // namespace

// ---- format ----

TEST(PackDecode, MarkIsDroppedAndTextWithoutMarkStartsAtFirstByte)
{
    EXPECT_EQ(DecodePackText(utf16le(QStringLiteral("[lang1]"))), QStringLiteral("[lang1]"));
    EXPECT_EQ(DecodePackText(utf16le(QStringLiteral("[lang1]"), false)), QStringLiteral("[lang1]"));
    EXPECT_EQ(DecodePackText(utf16le(QStringLiteral("确认"))), QStringLiteral("确认"));
    EXPECT_EQ(DecodePackText(QByteArray()), QString());
    EXPECT_EQ(DecodePackText(QByteArray("\xFF\xFE", 2)), QString());
}

TEST(PackDecode, OddTrailingByteIsNotAUnit)
{
    QByteArray bytes = utf16le(QStringLiteral("ab"));
    bytes.append('c');
    EXPECT_EQ(DecodePackText(bytes), QStringLiteral("ab"));
    EXPECT_EQ(DecodePackText(QByteArray("\xFF", 1)), QString());
}

TEST(PackItems, SplitsAtBlanksOutsideQuotes)
{
    struct Case {
        const char* text;
        QStringList items;
    };
    const Case cases[] = {
        {"a b\tc\r\nd\n\n\ne", {"a", "b", "c", "d", "e"}},
        {"  \t\r\n ", {}},
        {"\"Str232=CPI +\"", {"Str232=CPI +"}},
        {"\"say \"\"hi\"\"\" x", {"say \"hi\"", "x"}},
        {"\"\"\"\"", {"\""}},
        {"\"\" next", {"", "next"}},
        {"\"a\"b", {"a", "b"}},
        {"ab\"cd ef", {"ab\"cd", "ef"}},
        {"\"never closed  here", {"never closed  here"}},
        {"\"", {""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitPackItems(QString::fromUtf8(c.text)), c.items) << c.text;
}

TEST(PackParse, ReadsTheItemsAsIniLines)
{
    const QString text = QStringLiteral("x=before any section\r\n"
                                        "\"; a comment=ignored\"\r\n"
                                        ";Str009=also a comment\r\n"
                                        "[LANG1]\r\n"
                                        "\"Str000=Confirm\"\r\n"
                                        "\"  Str001  =   Apply now   \"\r\n"
                                        "\"Str002=He said \"\"go\"\"\"\r\n"
                                        "Str003=Two words\r\n"
                                        "\"Str101=\"\r\n"
                                        "\"no equals sign\"\r\n"
                                        "\"Str000=second copy\"\r\n"
                                        "\"Str004=a=b\"\r\n"
                                        "[lang2]\r\n"
                                        "\"Str005=other section\"\r\n");
    const LanguagePack pack = LanguagePack::fromBytes(utf16le(text), QStringLiteral("lang1"));
    EXPECT_EQ(pack.text(QStringLiteral("Str000")), QStringLiteral("Confirm")); // first entry stays
    EXPECT_EQ(pack.text(QStringLiteral("str000")), QStringLiteral("Confirm"));
    EXPECT_EQ(pack.text(QStringLiteral("Str001")), QStringLiteral("Apply now"));
    EXPECT_EQ(pack.text(QStringLiteral("Str002")), QStringLiteral("He said \"go\""));
    // Unquoted, the blank splits the entry and "words" is a line of its own.
    EXPECT_EQ(pack.text(QStringLiteral("Str003")), QStringLiteral("Two"));
    EXPECT_TRUE(pack.contains(QStringLiteral("Str101")));
    EXPECT_EQ(pack.text(QStringLiteral("Str101")), QString());
    EXPECT_EQ(pack.text(QStringLiteral("Str004")), QStringLiteral("a=b"));
    EXPECT_FALSE(pack.contains(QStringLiteral("Str005")));
    EXPECT_FALSE(pack.contains(QStringLiteral("Str009")));
    EXPECT_FALSE(pack.contains(QStringLiteral("x")));
    EXPECT_EQ(pack.keys(), (QStringList{"Str000", "Str001", "Str002", "Str003", "Str101", "Str004"}));

    EXPECT_EQ(LanguagePack::fromBytes(utf16le(text), QStringLiteral("Lang2")).text(QStringLiteral("Str005")),
              QStringLiteral("other section"));
    EXPECT_TRUE(LanguagePack::fromBytes(utf16le(text), QStringLiteral("lang3")).isEmpty());
}

TEST(PackParse, MalformedPacksGiveWhatCanBeReadAndNeverFail)
{
    const QString text = QStringLiteral("[lang1]\n\"Str000=OK\"\n\"Str001=open quote");
    const LanguagePack noMark = LanguagePack::fromBytes(utf16le(text, false), QStringLiteral("lang1"));
    EXPECT_EQ(noMark.text(QStringLiteral("Str000")), QStringLiteral("OK"));
    EXPECT_EQ(noMark.text(QStringLiteral("Str001")), QStringLiteral("open quote"));

    QByteArray odd = utf16le(text);
    odd.append('\x41');
    EXPECT_EQ(LanguagePack::fromBytes(odd, QStringLiteral("lang1")).text(QStringLiteral("Str001")),
              QStringLiteral("open quote"));

    EXPECT_TRUE(LanguagePack::fromBytes(QByteArray(), QStringLiteral("lang1")).isEmpty());
    QByteArray noise;
    for (int i = 0; i < 4001; ++i)
        noise.append(static_cast<char>((i * 37 + 11) & 0xFF));
    // Noise gives no section of that name, so nothing is read from it.
    EXPECT_TRUE(LanguagePack::fromBytes(noise, QStringLiteral("lang1")).isEmpty());
}

// ---- the shipped packs ----

namespace
{

// Every key the program reads or the packs carry as data.
const QStringList& shippedKeys()
{
    static const QStringList keys = [] {
        QStringList k{"FontName", "Title"};
        for (int n :
             {0,   1,   2,   3,   4,   5,   7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  17,  20,  100,
              101, 102, 103, 104, 106, 107, 108, 109, 200, 201, 202, 203, 204, 205, 206, 207, 210, 211, 212,
              213, 214, 220, 221, 222, 224, 225, 226, 230, 231, 232, 233, 240, 241, 242, 243, 250, 251, 252,
              253, 254, 255, 256, 260, 261, 262, 263, 264, 265, 266, 300, 301, 302, 303, 304, 305, 306, 307,
              308, 309, 310, 400, 401, 402, 404, 405, 406, 407, 408, 409, 410, 411, 412, 413, 414, 415, 416,
              417, 418, 420, 421, 422, 430, 432, 433, 435, 436, 437, 440, 441, 442, 443, 444, 445, 446, 447,
              448, 500, 501, 502, 510, 511, 512, 520, 521, 522, 523, 700, 701})
            k << QStringLiteral("Str%1").arg(n, 3, 10, QLatin1Char('0'));
        // The macro library shared with other programs.
        for (int n = 820; n <= 829; ++n)
            k << QStringLiteral("Str%1").arg(n);
        // The desktop's pointer settings it did not answer or could not read.
        k << QStringLiteral("Str840") << QStringLiteral("Str841");
        // The shared mouse: in use by another program, a read not complete.
        k << QStringLiteral("Str800") << QStringLiteral("Str801");
        // Names screen readers give controls that show no text of their own.
        for (int n = 860; n <= 866; ++n)
            k << QStringLiteral("Str%1").arg(n);
        return k;
    }();
    return keys;
}

} // namespace

TEST(ShippedPacks, EachCarriesExactlyTheKeyTableInItsOwnSection)
{
    for (int index = 1; index <= LanguageCount; ++index) {
        const LanguagePack pack = LoadLanguagePack(index);
        EXPECT_EQ(pack.size(), shippedKeys().size()) << "lang" << index;
        for (const QString& key : shippedKeys())
            EXPECT_TRUE(pack.contains(key)) << "lang" << index << " " << key.toStdString();
    }
}

TEST(ShippedPacks, ResourcesStartWithTheMarkAndQuoteEveryEntry)
{
    for (int index = 1; index <= LanguageCount; ++index) {
        const QString name = QStringLiteral("lang%1").arg(index);
        QFile f(QStringLiteral(":/rc/") + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = f.readAll();
        ASSERT_GE(bytes.size(), 2);
        EXPECT_EQ(bytes.left(2), QByteArray("\xFF\xFE", 2));
        EXPECT_EQ(bytes.size() % 2, 0);
        const QStringList lines = DecodePackText(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines.first(), QLatin1Char('[') + name + QLatin1Char(']'));
        for (const QString& line : lines.mid(1))
            EXPECT_TRUE(line.startsWith(QLatin1Char('"')) && line.endsWith(QLatin1Char('"')))
                << line.toStdString();
    }
}

TEST(ShippedPacks, SampleTexts)
{
    struct Row {
        const char* key;
        const char* texts[3];
    };
    const Row rows[] = {
        {"FontName", {"Microsoft YaHei", "Microsoft JhengHei", "Arial Narrow"}},
        {"Title", {"Tarvex游戏鼠标驱动", "Tarvex遊戲滑鼠驅動", "Tarvex Gaming Mouse"}},
        {"Str000", {"确认", "確認", "Confirm"}},
        {"Str002", {"恢复默认设置", "恢復出廠設置1", "RESET"}},
        {"Str012", {"繁体中文", "繁體中文", "Language2"}},
        {"Str020", {"正在查找指定设备", "查找不到指定設備", "Finding the device"}},
        {"Str100", {"重新加载设备，请确认。", "未偵測到裝置", "Waiting to reconnect device"}},
        {"Str101", {"", "請確認裝置是否確實連接至USB介面", ""}},
        {"Str103", {"宏文件长度超出范围", "巨集檔案長度超出範圍", "Macro bin length out of range"}},
        {"Str107",
         {"滑鼠厂商编码或产品编码错误", "滑鼠廠商編碼或產品編碼錯誤",
          "The mouse manufacturer or product id error"}},
        {"Str200", {"*", "*", "*"}},
        {"Str232", {"CPI +", "CPI +", "CPI +"}},
        {"Str233", {"CPI -", "CPI -", "CPI -"}},
        {"Str242", {"E-Mail", "郵件", "E-Mail"}},
        {"Str266", {"收藏夹", "我的最愛", "Favorites"}},
        {"Str300", {"500", "500", "500"}},
        {"Str305", {"2000", "2000", "2000"}},
        {"Str310", {"6400", "6400", "6400"}},
        {"Str430", {"确认清空宏吗？", "確認清空巨集嗎？", "OK for clear macro?"}},
        {"Str433", {"删除宏", "刪除巨集", "Delect Macro"}},
        {"Str437", {"释放按键后直到结束", "釋放按鍵後直到結束", "Release Key for Continue"}},
        {"Str522", {"请选择一种颜色", "請選擇一種顏色", "Please Select One Color"}},
        {"Str700",
         {"长按'中键'切换模式A/模式B", "長按'中鍵'切換模式A/模式B",
          "Press 'Middle Key' 3s Switch Mode A/Mode B"}},
        {"Str701",
         {"长按'CPI键'切换模式A/模式B", "長按'CPI鍵'切換模式A/模式B", "Press 'CPI' 3s Switch Mode A/Mode B"}},
    };
    for (const Row& row : rows)
        for (int index = 1; index <= LanguageCount; ++index)
            EXPECT_EQ(LookupText(LoadLanguagePack(index), QString::fromUtf8(row.key)),
                      QString::fromUtf8(row.texts[index - 1]))
                << row.key << " in lang" << index;
}

TEST(ShippedPacks, MatchTheirSourceTable)
{
    // A pack out of step with the table means the generator was not re-run.
    QFile f(QStringLiteral(ORB_SOURCE_DIR "/tools/langpacks.tsv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), shippedKeys().size() + 1);
    for (const QString& line : lines.mid(1)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        ASSERT_EQ(fields.size(), 4) << line.toStdString();
        EXPECT_TRUE(shippedKeys().contains(fields[0])) << fields[0].toStdString();
        for (int index = 1; index <= LanguageCount; ++index)
            EXPECT_EQ(LoadLanguagePack(index).text(fields[0]), fields[index])
                << fields[0].toStdString() << " in lang" << index;
    }
}

TEST(ShippedPacks, AbsentKeysAndIndicesReadEmpty)
{
    const LanguagePack pack = LoadLanguagePack(1);
    for (const char* key : {"Str223", "Str600", "Str606", "Str999", "", "Nothing"})
        EXPECT_EQ(LookupText(pack, QString::fromUtf8(key)), QString()) << key;
    EXPECT_TRUE(LoadLanguagePack(0).isEmpty());
    EXPECT_TRUE(LoadLanguagePack(4).isEmpty());
    EXPECT_EQ(MakeTextLookup(3)(QStringLiteral("Str000")), QStringLiteral("Confirm"));
    EXPECT_EQ(MakeTextLookup(7)(QStringLiteral("Str000")), QString());
}

// ---- reverse lookup ----

TEST(FindTextKey, LaterKeyAndLaterPackWin)
{
    struct Case {
        const char* text;
        const char* key;
    };
    const Case cases[] = {
        {"后退", "Str262"},     // pack 1 text of Str213 and Str262
        {"後退", "Str262"},     // the same in pack 2
        {"Back", "Str213"},     // pack 3 keeps the two apart
        {"停止", "Str264"},     // Str251, Str264 in packs 1 and 2
        {"Stop", "Str401"},     // Str251, Str264, Str401 in pack 3
        {"OK", "Str511"},       // Str420, Str421, Str511 in pack 3
        {"确认", "Str511"},     // Str501, Str511; Str000 is below the searched range
        {"Left Key", "Str210"}, //
        {"6400", "Str310"},     // the same in all packs
        {"Mode A", ""},         // Str004 only: not searched
        {"Tarvex Gaming Mouse", ""},
        {"F1", ""}, // a keyboard key name
        {"My Macro 1", ""},
        {"", ""},
        {"后退 ", ""}, // exact comparison
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindTextKey(QString::fromUtf8(c.text)), QString::fromUtf8(c.key)) << c.text;
}

TEST(FindTextKey, CaptionRetranslatesThroughTheFoundKey)
{
    const QString key = FindTextKey(QStringLiteral("后退"));
    EXPECT_EQ(LookupText(LoadLanguagePack(3), key), QStringLiteral("WWW Back"));
    EXPECT_EQ(LookupText(LoadLanguagePack(2), key), QStringLiteral("後退"));
}

TEST(FindTextKey, SearchRangeAndOrderOverGivenPacks)
{
    const auto pack = [](const QString& entries) {
        return LanguagePack::fromBytes(utf16le(QStringLiteral("[p]\n") + entries), QStringLiteral("p"));
    };
    const LanguagePack first =
        pack(QStringLiteral("\"Str500=x\" \"Str099=low\" \"Str701=high\" \"Str700=top\""));
    const LanguagePack second = pack(QStringLiteral("\"str150=x\" \"Str100=bottom\""));
    EXPECT_EQ(FindTextKey(QStringLiteral("x"), {first, second}), QStringLiteral("Str150"));
    EXPECT_EQ(FindTextKey(QStringLiteral("x"), {second, first}), QStringLiteral("Str500"));
    EXPECT_EQ(FindTextKey(QStringLiteral("low"), {first, second}), QString());
    EXPECT_EQ(FindTextKey(QStringLiteral("high"), {first, second}), QString());
    EXPECT_EQ(FindTextKey(QStringLiteral("top"), {first, second}), QStringLiteral("Str700"));
    EXPECT_EQ(FindTextKey(QStringLiteral("bottom"), {first, second}), QStringLiteral("Str100"));
    // Absent keys are not empty captions to match.
    EXPECT_EQ(FindTextKey(QString(), {first, second}), QString());
}

TEST(FindTextKey, SharedIndexAgreesWithTheSearchOverTheShippedPacks)
{
    const QList<LanguagePack> packs{LoadLanguagePack(1), LoadLanguagePack(2), LoadLanguagePack(3)};
    for (const LanguagePack& pack : packs)
        for (const QString& key : pack.keys()) {
            const QString text = pack.text(key);
            EXPECT_EQ(FindTextKey(text), FindTextKey(text, packs)) << text.toStdString();
        }
}

// ---- text slots ----

TEST(TextSlots, FilledFromThePack)
{
    const TextSlots en = ReadTextSlots(LoadLanguagePack(3));
    EXPECT_EQ(en.fontName, QStringLiteral("Arial Narrow"));
    EXPECT_EQ(en.title, QStringLiteral("Tarvex Gaming Mouse"));
    EXPECT_EQ(en.noDevice, QStringLiteral("Finding the device"));
    EXPECT_EQ(en.fileType, QStringLiteral("ORB5610Data.bin file type error"));
    EXPECT_EQ(en.duplicateMacro, QStringLiteral("This macro already exists"));
    EXPECT_EQ(en.keepLeftButton, QStringLiteral("Please keep a Left Key"));
    EXPECT_EQ(en.writeFailure, QStringLiteral("Fail"));
    EXPECT_EQ(en.leftButtonName, QStringLiteral("Left Key"));
    EXPECT_EQ(en.aimKeyName, QStringLiteral("AIM Key"));
    EXPECT_EQ(en.record, QStringLiteral("Record"));
    EXPECT_EQ(en.stop, QStringLiteral("Stop"));
    EXPECT_EQ(en.insertOk, QStringLiteral("OK"));
    EXPECT_EQ(en.insertStore, QStringLiteral("OK"));
    EXPECT_EQ(en.eepromShortage, QStringLiteral("EEPROM space shortage"));
    const std::array<QString, 11> cpi = {"500",  "800",  "1000", "1200", "1600", "2000",
                                         "2400", "3200", "4000", "4800", "6400"};
    EXPECT_EQ(en.cpiValues, cpi);
    EXPECT_EQ(en.deviceLostMessage(), QStringLiteral("Waiting to reconnect device\r\r"));

    const TextSlots tw = ReadTextSlots(LoadLanguagePack(2));
    EXPECT_EQ(tw.identifier, QStringLiteral("滑鼠廠商編碼或產品編碼錯誤"));
    EXPECT_EQ(tw.insertStore, QStringLiteral("存儲"));
    EXPECT_EQ(tw.deviceLostMessage(), QStringLiteral("未偵測到裝置\r\r請確認裝置是否確實連接至USB介面"));

    const TextSlots none = ReadTextSlots(LanguagePack());
    EXPECT_TRUE(none.fontName.isEmpty());
    EXPECT_TRUE(none.cpiValues[10].isEmpty());
}
