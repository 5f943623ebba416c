// The tool's frame: the usage text, the options, picking the mice, the
// per-mouse runs on their own threads and the report of every mouse. The
// commands live by family in CtlListReadWrite.cpp, CtlShowCheck.cpp,
// CtlMacros.cpp and CtlSet.cpp.
#include "ctl/Ctl.h"

#include "ctl/CtlSet.h"
#include "ctl/CtlTool.h"
#include "device/Transport.h"
#include "image/DefaultImages.h"
#include "skin/LanguagePack.h"
#include "skin/OrgOptions.h"

#include <QCommandLineParser>
#include <QJsonArray>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace orb::ctl
{

QString UsageText()
{
    return QStringLiteral(
        "Usage: orb5610ctl [OPTIONS] COMMAND [ARGS]\n"
        "Configure ORB5610 gaming mice from the command line.\n"
        "\n"
        "Commands:\n"
        "  list                       the mice found: path, identity bytes, whether they open\n"
        "  read FILE                  the mouse's image to a profile file (written only after\n"
        "                             a complete read)\n"
        "  write FILE [--all] [--full]\n"
        "                             a profile file to the mouse, verified as Apply does;\n"
        "                             only the chunks that differ from the mouse's are sent;\n"
        "                             --full: the whole image; --all: every connected mouse\n"
        "                             side by side\n"
        "  show FILE | show --mouse   the settings in words (typed values with --json)\n"
        "  set FILE|--mouse PATH=VALUE... [--from FILE.json|-]\n"
        "                             change single settings (paths as in 'show --json':\n"
        "                             cpi.levels.3.cpi=3200, keys.A.2=\"Right Key\"), all\n"
        "                             or none; a file in place, a mouse read, changed and\n"
        "                             written as by write (--path, --all); --from: every\n"
        "                             value of a 'show --json' document ('-': standard input)\n"
        "  check FILE                 whether FILE is a valid profile, library, single-macro or\n"
        "                             base-macro file, and what the checks would repair\n"
        "  macros list                the macro library's entries\n"
        "  macros export OUT [--entry N]\n"
        "                             the whole library, or entry N (as numbered by\n"
        "                             'macros list'), to OUT (.bin is appended)\n"
        "  macros import FILE [--all] a single-macro file into the library; --all: a whole\n"
        "                             library file (as 'check' names one) over the\n"
        "                             library's entries\n"
        "\n"
        "Options:\n"
        "  --path PATH       the mouse at this interface path (from 'list')\n"
        "  --all             every connected mouse (write)\n"
        "  --full            write, set --mouse: the whole image, not only what differs\n"
        "  --json            results as JSON on standard output\n"
        "  --demo[=N]        N simulated mice (default 1) instead of the real ones\n"
        "  --lang N          language of names and messages: 1 Simplified Chinese,\n"
        "                    2 Traditional Chinese, 3 English (default)\n"
        "  --library FILE    the macro library file (default: the program's)\n"
        "  --mouse           show, set: the connected mouse instead of a file\n"
        "  --from FILE       set: the values of a settings document ('-': standard input)\n"
        "  --entry N         macros export: one entry\n"
        "  -h, --help        this text\n"
        "  --version         the version\n"
        "\n"
        "Exit status:\n"
        "  0  success\n"
        "  1  the mouse stopped answering or was pulled out\n"
        "  2  wrong arguments\n"
        "  3  no mouse\n"
        "  4  refused (no permission to open, identity or memory access refused,\n"
        "     library full or duplicate name)\n"
        "  5  bad file (not a profile or library, cannot be read or written)\n"
        "  6  verification failed after the write\n"
        "  7  busy: another program (named) held the mouse for longer than 10 seconds\n"
        "With several mice the first mouse that failed gives the status; list fails\n"
        "only when no mouse found opens and answers (4 when none may be opened).\n");
}

QString codeWord(int code)
{
    switch (code) {
    case ExitOk:
        return QStringLiteral("ok");
    case ExitFailed:
        return QStringLiteral("failed");
    case ExitUsage:
        return QStringLiteral("usage");
    case ExitNoMouse:
        return QStringLiteral("no mouse");
    case ExitRefused:
        return QStringLiteral("refused");
    case ExitBadFile:
        return QStringLiteral("bad file");
    case ExitVerifyFailed:
        return QStringLiteral("verification failed");
    case ExitBusy:
        return QStringLiteral("busy");
    }
    return QStringLiteral("error");
}

namespace
{
class BorrowedPlatform final : public HidPlatform
{
  public:
    explicit BorrowedPlatform(HidPlatform& p) : p_(p) {}
    std::optional<std::vector<HidInterfaceInfo>> listInterfaces() override { return p_.listInterfaces(); }
    std::unique_ptr<HidDevice> open(const std::string& path, HidOpenError* why) override
    {
        return p_.open(path, why);
    }
    std::vector<std::uint8_t> reportDescriptorOf(const std::string& path) override
    {
        return p_.reportDescriptorOf(path);
    }
    std::string lockNodeOf(const std::string& path) override { return p_.lockNodeOf(path); }

  private:
    HidPlatform& p_;
};

} // namespace

std::vector<Found> Tool::findMice()
{
    std::vector<Found> found;
    const auto list = hid_->listInterfaces();
    if (!list)
        return found;
    const auto clock = env_.makeClock();
    std::set<std::string> seen;
    for (const HidInterfaceInfo& itf : *list) {
        // hidapi lists a node once for every top-level usage it has.
        if (!seen.insert(itf.path).second)
            continue;
        const HidAttributes& a = itf.attributes;
        if (a.vendorId != settings_.vendorId || a.productId != kProductId ||
            a.releaseNumber != kReleaseNumber)
            continue;
        // The transport's own test of an interface: the wanted identifiers
        // and a collection of 8-byte feature reports.
        OneInterfacePlatform one(*hid_, itf, openLock_);
        Transport link(one, *clock);
        int release = kReleaseNumber;
        if (link.OpenHidDevice(settings_.vendorId, kProductId, release))
            found.push_back({itf, true});
        else if (link.MouseRefusesOpening(settings_.vendorId, kProductId, kReleaseNumber))
            found.push_back({itf, false});
    }
    return found;
}

std::vector<HidInterfaceInfo> Tool::pickMice(bool all, int& code, QString& why)
{
    std::vector<HidInterfaceInfo> picked;
    const std::vector<Found> found = findMice();
    bool refusedOnly = false;
    for (const Found& f : found) {
        if (!path_.isEmpty() && QString::fromStdString(f.info.path) != path_)
            continue;
        if (f.openable)
            picked.push_back(f.info);
        else
            refusedOnly = true;
    }
    code = ExitOk;
    if (picked.empty()) {
        code = refusedOnly ? ExitRefused : ExitNoMouse;
        why = refusedOnly
                  ? QStringLiteral("the mouse cannot be opened: no permission (is the udev rule installed?)")
              : path_.isEmpty() ? QStringLiteral("no mouse found")
                                : QStringLiteral("no mouse at %1").arg(path_);
    } else if (picked.size() > 1 && !all) {
        code = ExitUsage;
        why = QStringLiteral("%1 mice connected: name one with --path, or use --all").arg(picked.size());
        picked.clear();
    }
    return picked;
}

int Tool::linkMice(bool all, std::vector<std::unique_ptr<MouseLink>>& links)
{
    int code = ExitOk;
    QString why;
    const auto picked = pickMice(all, code, why);
    if (code != ExitOk)
        return code == ExitUsage ? usage(why) : reportError(code, why);
    for (const auto& info : picked)
        links.push_back(makeLink(info));
    return ExitOk;
}

std::vector<Outcome> Tool::runAll(std::vector<std::unique_ptr<MouseLink>>& links, int expectedSteps,
                                  const std::function<Outcome(MouseLink&)>& work)
{
    const std::size_t n = links.size();
    std::vector<Outcome> outcomes(n);
    std::mutex m;
    std::condition_variable cv;
    std::size_t done = 0;
    std::vector<bool> finished(n, false);
    std::vector<std::thread> threads;
    threads.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        threads.emplace_back([&, i] {
            Outcome o = work(*links[i]);
            std::lock_guard lock(m);
            outcomes[i] = std::move(o);
            finished[i] = true;
            ++done;
            cv.notify_all();
        });
    }

    // One line per mouse, redrawn in place while the transfers run.
    bool drawn = false;
    auto draw = [&] {
        if (!env_.progress)
            return;
        if (drawn)
            err_ << QStringLiteral("\x1b[%1A").arg(n);
        for (std::size_t i = 0; i < n; ++i) {
            const int percent =
                finished[i] ? 100 : std::min(99, links[i]->steps() * 100 / std::max(1, expectedSteps));
            const int bar = percent / 5;
            err_ << "\r\x1b[K" << QString::fromStdString(links[i]->path()) << "  ["
                 << QString(bar, QLatin1Char('#')) << QString(20 - bar, QLatin1Char(' ')) << "] "
                 << QStringLiteral("%1%").arg(percent, 3) << '\n';
        }
        err_.flush();
        drawn = true;
    };
    {
        std::unique_lock lock(m);
        while (done < n) {
            draw();
            cv.wait_for(lock, std::chrono::milliseconds(200), [&] { return done == n; });
        }
        draw();
    }
    for (auto& t : threads)
        t.join();
    return outcomes;
}

int Tool::reportMice(const QString& command, const std::vector<std::unique_ptr<MouseLink>>& links,
                     const std::vector<Outcome>& outcomes, QJsonObject extra)
{
    int code = ExitOk;
    QJsonArray mice;
    for (std::size_t i = 0; i < links.size(); ++i) {
        const Outcome& o = outcomes[i];
        if (code == ExitOk)
            code = o.code;
        const QString path = QString::fromStdString(links[i]->path());
        if (json_) {
            mice.append(QJsonObject{{QStringLiteral("path"), path},
                                    {QStringLiteral("exit"), o.code},
                                    {QStringLiteral("result"), codeWord(o.code)},
                                    {QStringLiteral("text"), o.text}});
        } else {
            out_ << path << ": " << codeWord(o.code);
            if (!o.text.isEmpty())
                out_ << ": " << o.text;
            out_ << '\n';
        }
    }
    if (json_) {
        extra.insert(QStringLiteral("command"), command);
        extra.insert(QStringLiteral("mice"), mice);
        extra.insert(QStringLiteral("exit"), code);
        emitJson(extra);
    }
    out_.flush();
    return code;
}

int Tool::run(const QStringList& rawArgs)
{
    // "--demo" alone means one simulated mouse.
    QStringList args{QStringLiteral("orb5610ctl")};
    for (const QString& a : rawArgs)
        args << (a == QLatin1String("--demo") ? QStringLiteral("--demo=1") : a);

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version(QStringLiteral("version"), {});
    const QCommandLineOption jsonOpt(QStringLiteral("json"), {});
    const QCommandLineOption allOpt(QStringLiteral("all"), {});
    const QCommandLineOption mouseOpt(QStringLiteral("mouse"), {});
    const QCommandLineOption fullOpt(QStringLiteral("full"), {});
    const QCommandLineOption pathOpt(QStringLiteral("path"), {}, QStringLiteral("PATH"));
    const QCommandLineOption demoOpt(QStringLiteral("demo"), {}, QStringLiteral("N"));
    const QCommandLineOption langOpt(QStringLiteral("lang"), {}, QStringLiteral("N"), QStringLiteral("3"));
    const QCommandLineOption libraryOpt(QStringLiteral("library"), {}, QStringLiteral("FILE"));
    const QCommandLineOption entryOpt(QStringLiteral("entry"), {}, QStringLiteral("N"));
    const QCommandLineOption fromOpt(QStringLiteral("from"), {}, QStringLiteral("FILE"));
    // For shell completion: the paths set takes, one a line.
    const QCommandLineOption listPathsOpt(QStringLiteral("list-paths"), {});
    parser.addOptions({help, version, jsonOpt, allOpt, mouseOpt, pathOpt, demoOpt, langOpt, libraryOpt,
                       entryOpt, fromOpt, listPathsOpt, fullOpt});
    if (!parser.parse(args))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        out_ << UsageText();
        out_.flush();
        return ExitOk;
    }
    if (parser.isSet(version)) {
        out_ << "orb5610ctl 1.0\n";
        out_.flush();
        return ExitOk;
    }
    json_ = parser.isSet(jsonOpt);
    path_ = parser.value(pathOpt);
    bool ok = false;
    const int lang = parser.value(langOpt).toInt(&ok);
    if (!ok || lang < 1 || lang > 3)
        return usage(QStringLiteral("--lang takes 1, 2 or 3"));

    const QStringList pos = parser.positionalArguments();
    if (pos.isEmpty())
        return usage(QStringLiteral("no command given"));
    const QString command = pos.front();
    const QStringList rest = pos.mid(1);

    const OrgOptions org = LoadOrgOptions();
    settings_.vendorId = env_.vendorId;
    settings_.reserveManufacturer = org.Rev_Manu_ID;
    settings_.reserveProduct = org.Rev_Pro_ID;
    settings_.text = MakeTextLookup(lang);
    settings_.fullWrite = parser.isSet(fullOpt);

    if (command == QLatin1String("set") && parser.isSet(listPathsOpt)) {
        out_ << SettablePaths().join(QLatin1Char('\n')) << '\n';
        out_.flush();
        return ExitOk;
    }
    if (command == QLatin1String("set") && !parser.isSet(mouseOpt))
        return cmdSet(rest, parser.value(fromOpt), false, false);
    if (command == QLatin1String("check")) {
        if (rest.size() != 1)
            return usage(QStringLiteral("check: one file expected"));
        return cmdCheck(rest.front());
    }
    if (command == QLatin1String("macros"))
        return cmdMacros(rest, parser.value(libraryOpt), parser.value(entryOpt), parser.isSet(allOpt));
    if (command == QLatin1String("show") && !parser.isSet(mouseOpt)) {
        if (rest.size() != 1)
            return usage(QStringLiteral("show: a file or --mouse expected"));
        return cmdShow(rest.front(), false);
    }

    // Commands that reach a mouse.
    if (parser.isSet(demoOpt)) {
        const int count = parser.value(demoOpt).toInt(&ok);
        if (!ok || count < 1 || count > 16)
            return usage(QStringLiteral("--demo takes 1 to 16 mice"));
        demo_ = std::make_unique<DemoHost>();
        demo_->host.add({"demo/keyboard", {0x046D, 0xC31C, 0x0110}, 2, true, true, 0, nullptr, nullptr});
        const auto image = LoadDefaultImage(1);
        for (int i = 1; i <= count; ++i) {
            auto mouse = std::make_unique<SimMouse>();
            if (image)
                mouse->memory = *image;
            const std::uint16_t vendor = std::uint16_t(env_.vendorId);
            const std::string base = "demo/mouse" + std::to_string(i);
            demo_->host.add({base + "-input",
                             {vendor, kProductId, kReleaseNumber},
                             5,
                             true,
                             true,
                             0,
                             nullptr,
                             mouse.get()});
            demo_->host.add({base + "-config",
                             {vendor, kProductId, kReleaseNumber},
                             8,
                             true,
                             true,
                             0,
                             mouse.get(),
                             mouse.get()});
            demo_->mice.push_back(std::move(mouse));
        }
        hid_ = std::make_unique<BorrowedPlatform>(demo_->host);
    } else {
        hid_ = env_.makeHid();
        // Real mice are shared with the window: one program at a time.
        settings_.lockFolder = env_.mouseLockFolder;
    }

    if (command == QLatin1String("list") && rest.isEmpty())
        return cmdList();
    if (command == QLatin1String("read") && rest.size() == 1)
        return cmdRead(rest.front());
    if (command == QLatin1String("write") && rest.size() == 1)
        return cmdWrite(rest.front(), parser.isSet(allOpt));
    if (command == QLatin1String("show") && rest.isEmpty())
        return cmdShow({}, true);
    if (command == QLatin1String("set"))
        return cmdSet(rest, parser.value(fromOpt), true, parser.isSet(allOpt));
    return usage(QStringLiteral("unknown command or wrong arguments: %1").arg(pos.join(QLatin1Char(' '))));
}

int RunCtl(const QStringList& args, const Environment& env)
{
    Tool tool(env);
    return tool.run(args);
}

} // namespace orb::ctl
