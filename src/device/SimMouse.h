#pragma once
#include "device/HidPlatform.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace orb
{

// A model of the mouse's firmware as seen over its configuration interface:
// 2048 bytes of memory, the configuration exchange opened by BeginCmd and
// closed by EndCmd, read and write windows served in 6-byte chunks, the
// status reply and the pressed-button bitmap. Used by the tests and by the
// demo in place of the hardware.
class SimMouse
{
  public:
    static constexpr int kMemorySize = 2048;

    struct Config {
        // Number of get-feature polls that return "no answer yet" before the reply.
        int pollsBeforeAnswer = 0;
        // Answer every command with this status instead of 0xCC (0 = none).
        std::uint8_t refuseWith = 0;
        // Refuse only this many more commands, then answer normally (-1 = always).
        int refusals = -1;
        // Never answer: polls keep returning status 0.
        bool silent = false;
        // Get-feature requests fail while the mouse stays plugged in (a stalled
        // control endpoint): the request's own bytes stay in the host's buffer.
        bool failGets = false;
        // Get-feature replies come back short (their first four bytes only);
        // the rest of the host's buffer keeps what the request put there.
        bool shortGets = false;
        // Status reply: signature, memory-access flag (bit 2), controller code.
        std::uint8_t signature = 0xAA;
        bool memoryAccess = true;
        std::uint8_t controllerCode = 0x75;
        // Writes are acknowledged but not stored.
        bool writeProtected = false;
        // Commands other than Begin/End/Status are refused outside an exchange.
        bool strictExchange = true;
    };

    struct Report {
        bool set; // true: set-feature from the host; false: a get-feature reply
        std::array<std::uint8_t, 8> bytes;
    };

    Config config;
    std::array<std::uint8_t, kMemorySize> memory{};
    // The pressed-button bitmap of the status reply (bit k-1 = key k); set from
    // any thread while the button test polls it.
    std::atomic<std::uint16_t> pressedButtons{0};

    // Host side of the feature-report traffic (called by the simulated host).
    bool setFeature(const std::uint8_t* buf, std::size_t len);
    bool getFeature(std::uint8_t* buf, std::size_t len);

    // Recorded traffic.
    std::vector<Report> traffic() const;
    std::vector<std::array<std::uint8_t, 8>> requests() const; // the set-feature reports only
    void clearTraffic();
    int reloadCount() const;
    bool inExchange() const;
    // Called after every set-feature with the number of commands so far
    // (lets a test act in the middle of a transfer, e.g. unplug the mouse).
    std::function<void(int commandCount)> onCommand;

  private:
    void handle(const std::array<std::uint8_t, 8>& req);
    mutable std::recursive_mutex mutex_;
    std::array<std::uint8_t, 8> reply_{};
    int pendingPolls_ = 0;
    bool exchange_ = false;
    bool readWindow_ = false, writeWindow_ = false;
    int winAddr_ = 0, winLen_ = 0, winPos_ = 0;
    int commands_ = 0;
    int reloads_ = 0;
    std::vector<Report> traffic_;
};

// A simulated host: a list of HID interfaces that can be plugged and
// unplugged, one of which may be the mouse's configuration interface.
// Handles die at an unplug as hidraw handles do: every later request through
// them fails and they report gone(); a plug makes a new interface, which must
// be opened anew.
class SimHost final : public HidPlatform
{
  public:
    struct Interface {
        std::string path;
        HidAttributes attributes;
        int featureLength = 0;
        bool openable = true; // false: opening is refused for lack of permission
        bool present = true;
        int failOpens = 0;               // the next N opens fail
        SimMouse* mouse = nullptr;       // feature traffic goes here
        const SimMouse* owner = nullptr; // the device the interface belongs to
        // The report descriptor; when empty, one vendor collection with report
        // ID 4 and feature reports of `featureLength` bytes stands for it.
        std::vector<std::uint8_t> descriptor = {};
    };

    // Adds an interface; returns its index.
    int add(Interface itf);
    // The usual machine: a keyboard, plus (when `mouse` is given) the mouse's
    // input collection and its 8-byte configuration interface.
    void addStandardSet(SimMouse* mouse, std::uint16_t vendor);
    void setPresent(int index, bool present);
    void setPresentByPath(const std::string& path, bool present);
    // Unplugs or replugs every interface that leads to `mouse`.
    void plugMouse(SimMouse* mouse, bool present);
    // Pulls `mouse` out just as the n-th request with command code `command`
    // (counted from now, 1 = the next one) is sent: that request fails as on
    // a dead hidraw handle, and so does everything after it. E.g. ReadDataCmd
    // and 100 unplugs at the 100th chunk of a read; counting ReadDataCmd from
    // the start of a write lands in its verification.
    void unplugAtCommand(SimMouse* mouse, std::uint8_t command, int n);
    // Makes every interface of `mouse` refuse opening for lack of permission
    // (or accept it again), as a hidraw node without the udev rule does.
    void refuseOpening(SimMouse* mouse, bool refuse);
    Interface& at(int index) { return interfaces_.at(index); }
    int size() const { return int(interfaces_.size()); }

    bool listFails = false;
    int openHandles = 0; // interfaces opened and not yet closed
    int listCalls = 0;
    int openCalls = 0;
    int featureCalls = 0; // set- and get-feature requests through any handle, dead ones included
    // Handles closed while a request through them was still under way on
    // another thread (on hidraw, freed memory in the middle of a request).
    int closedInUse = 0;
    // Runs before every listing (e.g. to plug a device between two samples).
    std::function<void(int call)> onList;

    std::optional<std::vector<HidInterfaceInfo>> listInterfaces() override;
    std::unique_ptr<HidDevice> open(const std::string& path, HidOpenError* why = nullptr) override;
    // With a folder, each interface has a file of its own there standing
    // for its device node (made when first asked), which the mice's locks
    // take as a hidraw node's; without one, none (the default).
    void setLockNodeFolder(const std::string& folder) { lockNodeFolder_ = folder; }
    std::string lockNodeOf(const std::string& path) override;
    // The file lockNodeOf gives for `path` in `folder`.
    static std::string lockNodeIn(const std::string& folder, const std::string& path);

  private:
    class Device;
    struct UnplugTrigger {
        SimMouse* mouse;
        std::uint8_t command;
        int remaining;
    };
    void setPresentLocked(std::size_t index, bool present);
    // Counts a request towards the unplug triggers; true when it pulls the mouse out.
    bool unplugNow(SimMouse* mouse, std::uint8_t command);

    std::vector<Interface> interfaces_;
    std::vector<int> plugs_; // per interface: bumped at every plug change, so old handles die
    std::vector<UnplugTrigger> triggers_;
    std::recursive_mutex mutex_;
    std::string lockNodeFolder_;
};

} // namespace orb
