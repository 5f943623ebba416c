#pragma once
#include "device/HidPlatform.h"

#include <array>
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
    std::uint16_t pressedButtons = 0;

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
class SimHost final : public HidPlatform
{
  public:
    struct Interface {
        std::string path;
        HidAttributes attributes;
        int featureLength = 0;
        bool openable = true;
        bool present = true;
        int failOpens = 0;               // the next N opens fail
        SimMouse* mouse = nullptr;       // feature traffic goes here
        const SimMouse* owner = nullptr; // the device the interface belongs to
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
    Interface& at(int index) { return interfaces_.at(index); }
    int size() const { return int(interfaces_.size()); }

    bool listFails = false;
    int openHandles = 0; // interfaces opened and not yet closed
    int listCalls = 0;
    int openCalls = 0;
    // Runs before every listing (e.g. to plug a device between two samples).
    std::function<void(int call)> onList;

    std::optional<std::vector<std::string>> listInterfaces() override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;

  private:
    class Device;
    std::vector<Interface> interfaces_;
    std::recursive_mutex mutex_;
};

} // namespace orb
