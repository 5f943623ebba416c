#pragma once
#include "core/Clock.h"
#include "device/HidPlatform.h"
#include "device/MouseLock.h"

#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace orb
{

// Command codes carried in byte 1 of the 8-byte feature report.
enum Command : std::uint8_t {
    BeginCmd = 1,
    EndCmd = 2,
    StatusCmd = 3,
    ReadAddrCmd = 4,
    ReadDataCmd = 5,
    WriteAddrCmd = 6,
    WriteDataCmd = 7,
    SystemReloadCmd = 8,
};

inline constexpr std::uint8_t kReportId = 4;
inline constexpr std::uint8_t kAck = 0xCC;
inline constexpr int kReportLength = 8;
inline constexpr std::uint16_t kProductId = 0x08A0;
inline constexpr std::uint16_t kReleaseNumber = 0x0104;

// The link to the mouse: finding and opening its configuration interface,
// and the acknowledged command exchanges over 8-byte feature reports.
// One object holds the whole transport state; the main window owns it.
class Transport
{
  public:
    Transport(HidPlatform& platform, Clock& clock);
    ~Transport();
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    // --- Transport state ---
    std::unique_ptr<HidDevice> DeviceHandle; // null: no mouse
    std::uint32_t DeviceVendorId = 0;
    std::uint32_t DeviceProductId = 0;
    std::uint32_t FeatureLength = 0;
    std::array<std::uint8_t, 8> ReportBuf{};
    std::array<std::uint8_t, 7> ChunkBuf{};

    bool hasDevice() const { return DeviceHandle != nullptr; }
    // Closes the handle; no command is sent afterwards. Clears deviceGone().
    void closeDevice();
    // True when a request failed because the mouse itself has gone (pulled
    // out in the middle of a transfer): the exchange stopped at once, and
    // every later exchange fails at once without a platform call. The dead
    // handle stays in DeviceHandle until the owner's no-device reset calls
    // closeDevice(), which clears this; a successful OpenHidDevice clears it
    // too. A mouse that is present but does not answer does not set it; its
    // exchanges keep all their attempts.
    bool deviceGone() const { return deviceGone_; }

    // --- Discovery ---
    // Present HID interfaces that could be opened (0 when none can be listed).
    int CountHidDevices();
    // Keeps the last interface with the wanted identifiers, release number and
    // a top-level collection whose feature reports are 8 bytes long; `release`
    // receives its release number.
    bool OpenHidDevice(int vendor, int product, int& release);
    // True when an interface with the wanted identifiers and release number
    // is present but refuses opening for lack of permission (on Linux: the
    // udev rule is missing). Such an interface is neither counted nor opened.
    bool MouseRefusesOpening(int vendor, int product, int release);

    // --- One program at a time on the mouse ---
    // With a folder, every exchange with the opened mouse runs under its
    // MouseLock there: BeginCmd takes it, waiting up to `waitMs` with the
    // queue pumped, and EndCmd gives it back, unless a transfer holds it
    // (holdLock). A BeginCmd that does not get it fails without reaching
    // the mouse. Empty (the default): no lock.
    void setLockFolder(const QString& folder, int waitMs);
    // A transfer of several exchanges keeps the lock from its first BeginCmd
    // to the matching releaseHold, so no other program gets in between its
    // exchanges. Holds nest; the last release gives the lock back.
    void holdLock()
    {
        if (holds_++ == 0)
            heldBy_.clear(); // a new transfer: nothing refused yet
    }
    void releaseHold();
    bool holdingLock() const { return holds_ > 0; }
    // The program that held the mouse when the last BeginCmd could not have
    // it; empty when the last BeginCmd got it (or there is no lock).
    const QString& heldBy() const { return heldBy_; }
    // Whether another program had the mouse since this one last did, so what
    // this program knows of the mouse's memory may be stale. Takes the lock
    // now, for the transfer that asks (hold it with holdLock); without a
    // lock folder nobody else is known of. The answer is handed out once:
    // whoever asks owns it from then on.
    bool OthersHadTheMouse();
    // The same without taking the lock: what the takes so far found.
    bool TakeOthersHadTheMouse();

    // --- Command exchanges ---
    bool SendFeature(std::uint8_t* buf);
    // On failure `buf` is left exactly as it was.
    bool ReceiveFeature(std::uint8_t* buf);
    // Standard exchange for commands 1, 2, 3, 4, 6 and 8; reply left in ReportBuf.
    bool ExchangeCommand(std::uint8_t code, std::uint8_t p1 = 0, std::uint8_t p2 = 0, std::uint8_t p3 = 0,
                         std::uint8_t p4 = 0);
    // Command 7 with six data bytes; the sixth sits in the status position.
    bool WriteChunk(const std::uint8_t* data6);
    // Command 5: ChunkBuf receives reply bytes 1..7, or seven 0xFF bytes.
    void ReadChunk();
    // Command 3 for the button test: the pressed-button bitmap, 0 on failure.
    std::uint16_t ReadKeyState();

    Clock& clock() { return clock_; }

  private:
    // After a failed request: notes a handle whose device has gone.
    void noteFailure();
    bool usable() const { return DeviceHandle && !deviceGone_; }
    bool runExchange(int attempts, int pauseAfterSend, int polls, int pauseAfterEmptyPoll,
                     const std::array<std::uint8_t, 8>& request);

    // BeginCmd's side of the lock: true when the exchange may go ahead.
    bool takeLock();
    void dropLock();
    // Any other request: true when the lock is held (or there is none).
    bool mayAsk();

    HidPlatform& platform_;
    Clock& clock_;
    std::atomic<bool> deviceGone_{false};
    QString lockFolder_;
    int lockWaitMs_ = 0;
    std::unique_ptr<MouseLock> lock_; // the opened mouse's, with a lock folder
    int holds_ = 0;
    QString heldBy_;
};

} // namespace orb
