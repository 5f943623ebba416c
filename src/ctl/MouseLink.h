#pragma once
#include "app/session/DeviceSession.h"
#include "app/session/SessionHost.h"
#include "core/Clock.h"
#include "core/Services.h"
#include "core/Text.h"
#include "device/HidPlatform.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace orb::ctl
{

// Exit codes of the tool, also the result of each mouse.
enum ExitCode : int {
    ExitOk = 0,
    ExitFailed = 1,       // the mouse stopped answering or was pulled out
    ExitUsage = 2,        // wrong arguments
    ExitNoMouse = 3,      // no mouse (or not the one named)
    ExitRefused = 4,      // the system or the mouse refused: permission, identity, memory access
    ExitBadFile = 5,      // not a profile or library, or a file that cannot be read or written
    ExitVerifyFailed = 6, // the read-back still differed after the rewrite
    ExitBusy = 7,         // another program (the window) held the mouse past the wait
};

// How long the tool waits for a mouse another program holds: a whole write
// and verification of the window's fits in it.
inline constexpr int kMouseLockWaitMs = 10000;

// A platform that shows one interface of another: each mouse gets its own
// session and transport, which then find exactly that mouse. Listing does
// not walk the host again (hidapi's enumeration is kept to the main thread);
// opens of all workers go through one lock.
class OneInterfacePlatform final : public HidPlatform
{
  public:
    OneInterfacePlatform(HidPlatform& inner, HidInterfaceInfo itf, std::mutex& openLock)
        : inner_(inner), itf_(std::move(itf)), openLock_(openLock)
    {
    }
    std::optional<std::vector<HidInterfaceInfo>> listInterfaces() override
    {
        return std::vector<HidInterfaceInfo>{itf_};
    }
    std::unique_ptr<HidDevice> open(const std::string& path, HidOpenError* why = nullptr) override
    {
        std::lock_guard lock(openLock_);
        return inner_.open(path, why);
    }
    std::vector<std::uint8_t> reportDescriptorOf(const std::string& path) override
    {
        return inner_.reportDescriptorOf(path);
    }
    // The same lock as every other program on the mouse.
    std::string lockNodeOf(const std::string& path) override { return inner_.lockNodeOf(path); }

  private:
    HidPlatform& inner_;
    HidInterfaceInfo itf_;
    std::mutex& openLock_;
};

// The session's host for a terminal: no pages and no busy window; each
// ShowLoading (one before every chunk of a block transfer) is a step of
// progress.
class CtlHost final : public SessionHost
{
  public:
    std::atomic<int> steps{0};

    void ShowLoading() override { ++steps; }
    void HideLoading() override {}
    void ShowDisableAll() override {}
    void HideDisableAll() override {}
    void HideAllMenu() override {}
    void UIToDataBuf() override {}
    void AIMKeyToDataBuf(ProfileKeysBytes&) override {}
    void DataBufToUI() override {}
    void RefreshMacrosFromArea() override {}
    void RefreshPCMacroNames() override {}
    void ClearMacroTexts() override {}
    void ApplyHostMouseSettings() override {}
    void ShowIdentity(const std::array<std::uint8_t, 2>&) override {}
    void ClearDeviceUI() override {}
    void ShowNoDevice() override {}
    void DeviceLostShown() override {}
    void ShowMainAfterRead() override {}
};

// Messages become the mouse's result text; there are no dialogs.
class CtlServices final : public Services
{
  public:
    QStringList messages;

    void showMessage(const QString& text, MessageStyle) override { messages << text; }
    void setMessageFont(const QString&) override {}
    std::optional<QString> saveFileName(const QString&, const QString&) override { return {}; }
    std::optional<QString> openFileName(const QString&) override { return {}; }
    std::optional<QColor> pickColour(const QColor&) override { return {}; }
    void openUrl(const QString&) override {}
};

struct Outcome {
    int code = ExitOk;
    QString text; // what happened, in words; empty for plain success
};

// What every mouse needs: the candidate identity, the reserve identity of
// "[org]" and the message texts.
struct SessionSettings {
    int vendorId = 0;
    int reserveManufacturer = 0;
    int reserveProduct = 0;
    TextLookup text;
    QString lockFolder;     // the mice's locks; empty: none
    bool fullWrite = false; // write the whole image even where the mouse holds it already
};

// One mouse, driven through the window's own device session: open, read,
// write with verification. Lives on one worker thread.
class MouseLink
{
  public:
    MouseLink(HidPlatform& host, const HidInterfaceInfo& itf, std::mutex& openLock,
              std::unique_ptr<Clock> clock, const SessionSettings& settings);

    const std::string& path() const { return path_; }
    // Chunk steps done so far (any thread may ask).
    int steps() const { return host_.steps.load(); }
    DeviceSession& session() { return *session_; }
    const CtlServices& services() const { return services_; }

    // Opens the mouse's configuration interface.
    Outcome Open();
    // Status query and identity bytes only (no image); for the list.
    Outcome Identify(std::array<std::uint8_t, 2>& identity);
    // ReadDevInfo: identity check and the whole image into session().image().
    Outcome Read();
    // The profile file over the image just read, then the window's
    // load-and-write procedure with its verification.
    Outcome WriteProfile(const std::filesystem::path& file);
    // Reads the mouse, changes its image (or refuses, and nothing is
    // written) and writes it with the same verification.
    Outcome WriteChanged(const std::function<std::optional<Outcome>(ConfigImage&)>& change);

  private:
    Outcome refusalOrFailure();
    // Set when another program held the mouse past the wait.
    std::optional<Outcome> heldElsewhere() const;
    // MemoToDataBuf_OnClick on the image in the session, its verification,
    // then the whole image read back and compared.
    Outcome writeImage();
    Outcome verifyWholeImage(bool rewritten);

    std::string path_;
    SessionSettings settings_;
    OneInterfacePlatform platform_;
    std::unique_ptr<Clock> clock_;
    CtlHost host_;
    CtlServices services_;
    std::unique_ptr<DeviceSession> session_;
};

// Chunk steps of the tool's procedures, for the progress percentage.
inline constexpr int ReadSteps = 1 + 342; // busy bracket + chunks of the image
// busy bracket + image + verification read + the whole image read back
inline constexpr int WriteSteps = 1 + 342 + 43 + 342;
inline constexpr int ReadWriteSteps = ReadSteps + WriteSteps;

} // namespace orb::ctl
