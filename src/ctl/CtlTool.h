#pragma once
// The tool behind RunCtl: the parsed options, the mice it reaches and the
// commands, one family a file (Ctl.cpp: options, picking the mice, the
// per-mouse runs and the reports; CtlListReadWrite.cpp; CtlShowCheck.cpp;
// CtlMacros.cpp; CtlSet.cpp).
#include "ctl/Ctl.h"
#include "ctl/MouseLink.h"
#include "device/SimMouse.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace orb::ctl
{

// The result word of an exit code ("ok", "no mouse", ..).
QString codeWord(int code);

// The simulated mice of --demo: each carries the built-in default image, as
// the demo program's mouse does.
struct DemoHost {
    SimHost host;
    std::vector<std::unique_ptr<SimMouse>> mice;
};

struct Found {
    HidInterfaceInfo info;
    bool openable = false;
};

class Tool
{
  public:
    Tool(const Environment& env) : env_(env), out_(*env.out), err_(*env.err) {}
    int run(const QStringList& args);

  private:
    int usage(const QString& why)
    {
        err_ << "orb5610ctl: " << why << "\nTry 'orb5610ctl --help' for more information.\n";
        err_.flush();
        return ExitUsage;
    }
    int reportError(int code, const QString& why)
    {
        if (json_) {
            emitJson({{QStringLiteral("result"), codeWord(code)},
                      {QStringLiteral("text"), why},
                      {QStringLiteral("exit"), code}});
        } else {
            err_ << "orb5610ctl: " << why << '\n';
            err_.flush();
        }
        return code;
    }
    void emitJson(const QJsonObject& o)
    {
        out_ << QJsonDocument(o).toJson(QJsonDocument::Indented);
        out_.flush();
    }
    std::vector<Found> findMice();
    // The mice a command works on: the one named by --path, every one for
    // --all, else the only one; on failure the exit code with a message.
    std::vector<HidInterfaceInfo> pickMice(bool all, int& code, QString& why);
    // A link to every picked mouse; when none can be picked the refusal is
    // reported and its exit code returned.
    int linkMice(bool all, std::vector<std::unique_ptr<MouseLink>>& links);
    std::unique_ptr<MouseLink> makeLink(const HidInterfaceInfo& info)
    {
        return std::make_unique<MouseLink>(*hid_, info, openLock_, env_.makeClock(), settings_);
    }
    // Runs `work` for every link on its own thread with progress lines.
    std::vector<Outcome> runAll(std::vector<std::unique_ptr<MouseLink>>& links, int expectedSteps,
                                const std::function<Outcome(MouseLink&)>& work);
    int reportMice(const QString& command, const std::vector<std::unique_ptr<MouseLink>>& links,
                   const std::vector<Outcome>& outcomes, QJsonObject extra = {});

    int cmdList();
    int cmdRead(const QString& file);
    int cmdWrite(const QString& file, bool all);
    int cmdShow(const QString& file, bool mouse);
    int cmdCheck(const QString& file);
    int cmdSet(const QStringList& args, const QString& from, bool mouse, bool all);
    int cmdMacros(const QStringList& args, const QString& libraryOption, const QString& entry, bool all);

    const Environment& env_;
    QTextStream& out_;
    QTextStream& err_;
    bool json_ = false;
    QString path_;
    std::unique_ptr<DemoHost> demo_;
    std::unique_ptr<HidPlatform> hid_;
    std::mutex openLock_;
    SessionSettings settings_;
};

} // namespace orb::ctl
