#pragma once
#include "app/session/KnownMouseImage.h"
#include "app/session/SessionHost.h"
#include "core/Clock.h"
#include "core/Services.h"
#include "core/Text.h"
#include "device/MemoryAccess.h"
#include "device/Transport.h"
#include "image/ConfigImage.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orb
{

// What the window says when another program (the command-line tool) holds
// the mouse and a transfer could not wait for it: `format` is the language
// pack's text with "%1" for the holder.
QString MouseHeldMessage(const QString& format, const QString& holder);

// The connection to the mouse without any widget: the device timer and its
// state machine, the transport, the configuration image with its default
// images and identities, and the read and write procedures. It shows
// nothing itself but messages (through Services); everything else goes to
// its SessionHost.
class DeviceSession
{
  public:
    struct CandidateId {
        int vendor = 0;
        int product = 0;
    };

    // `vendorId` is entry 1 of the candidate identities. The device timer
    // is created stopped; start() runs it.
    DeviceSession(Clock& clock, Services& services, HidPlatform& hid, int vendorId, SessionHost& host);
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Message texts by language-pack key ("Str020"); none: the key itself.
    void setTextLookup(TextLookup lookup) { text_ = std::move(lookup); }
    void start() { DevTimer_->setEnabled(true); }

    Transport& link() { return link_; }
    const Transport& link() const { return link_; }
    Clock& clock() { return clock_; }
    Services& services() { return services_; }
    Timer& devTimer() { return *DevTimer_; }
    ConfigImage& image() { return Image; }
    const ConfigImage& image() const { return Image; }
    const std::array<ImageBytes, 3>& defaultImages() const { return DefaultImages; }
    const std::array<CandidateId, 2>& candidateIds() const { return CandidateIds; }
    int lastHidCount() const { return LastHidCount; }
    bool timerBusy() const { return TimerBusy; }
    bool closing() const { return Closing; }
    // Identity bytes 0x036/0x037 as last read from the mouse.
    const std::array<std::uint8_t, 2>& identityBytes() const { return IdentityBytes; }
    // The "[org]" reserve identity, accepted beside the built-in default's.
    void setReserveIdentity(int manufacturer, int product);
    // Whether the last ReadDevInfo read the whole image: identity accepted,
    // memory access allowed, the read window and every chunk answered.
    bool lastReadComplete() const { return LastReadComplete; }
    // Whether the last ReadDevInfo showed its own refusal ("Str020" or "Str107").
    bool lastReadRefusalShown() const { return LastReadRefusalShown; }
    // How the last WriteImage or RepeatedWriteEEPROM ended (the window shows
    // only "Str109"; the command-line tool tells every outcome apart).
    MemoryAccess::Verify lastWriteResult() const { return LastWriteResult; }
    // How many of those writes have ended: lastWriteResult() is about this
    // count's latest, not about a block another procedure wrote since.
    int writesEnded() const { return WritesEnded; }
    QString LookupText(const QString& key) const;
    // What the mouse holds as far as this program knows: the image of the
    // last complete read, replaced by each write whose verification passed;
    // none after a write that failed, was refused or interrupted, an unplug,
    // a read that did not finish, or an exchange outside these procedures.
    const std::optional<ImageBytes>& heldImage() const { return Known.get(); }
    // The mouse may have been changed behind the session's back: the next
    // write sends the whole image.
    void forgetHeldImage() { Known.forget(); }
    // The last read lost chunks: nothing is written from its picture (the
    // lost bytes and the sections repaired for them were never the mouse's)
    // until a complete read, or a whole image the user chose, replaces it.
    bool readLostChunks() const { return ReadLostChunks; }
    // The text of the message "the mouse is in use by HOLDER".
    QString MouseHeldText(const QString& holder) const;
    // The runs the last write sent (none: nothing differed) and the chunk
    // commands it wrote and read, its verification included.
    const std::vector<MemoryRun>& lastWriteRuns() const { return LastWriteRuns; }
    int lastChunksWritten() const { return LastChunksWritten; }
    int lastChunksRead() const { return LastChunksRead; }

    // --- Connection state machine ---
    void DevTimerTimer();
    void DevLost();
    // After a transfer: when the mouse was pulled out in the middle of it,
    // the dead handle is closed and the no-device reset runs at once.
    // Returns whether it did.
    bool HandleDeviceGone();
    // Whether the user is told that a present mouse refuses opening.
    bool permissionHintShown() const { return PermissionHintShown; }
    void RefreshErrorAP();
    void InitNoDevice();
    void LoadReferenceIdentity();
    // FormCloseQuery: nothing reaches the mouse after this, also not from a
    // settle or transfer the close interrupted.
    void Close();

    // --- One transfer at a time ---
    // Every exchange with the mouse runs inside a transfer, and only one
    // transfer runs at a time. The waits of a transfer pump the event queue,
    // so a click, a tick or a page's own action could otherwise start a
    // second one that shares the report buffers and the mouse's open
    // exchange with the first (a nested write, or a read that comes back as
    // 0xFF). RunTransfer runs `work` as that transfer, or refuses while
    // another runs: it then returns false and runs nothing, so a second
    // click does nothing. Every procedure below goes through it.
    bool RunTransfer(const std::function<void()>& work);
    // The same for a transfer that spans turns of the event loop (the button
    // test): false while another runs; EndTransfer ends it.
    bool BeginTransfer();
    void EndTransfer();
    bool transferRunning() const { return TransferRunning; }

    // --- Memory transfers ---
    // Each of these is refused (does nothing, returns false where it
    // returns anything) while another transfer runs.
    bool QueryStatus();
    void ReadDevInfo(); // identity check, then Btn_Read or a refusal
    // ReadDevInfo with the device timer held off, for the Read button: the
    // status query and identity read pump the queue, and a device tick in
    // between could drop the handle under the running exchange.
    void ReadOnRequest();
    // Reads the whole image from the mouse for saving; false when any step
    // of the read failed or was refused (nothing may be saved then).
    bool ReadImageForSave();
    void Btn_Read();
    void WriteImage();
    void RepeatedWriteEEPROM();
    // The writes below return whether the mouse took the image and it was
    // verified (lastWriteSucceeded()).
    // Apply: only the chunks that differ from what the mouse is known to
    // hold, else (unknown, or the engineering identity changed) the whole image.
    bool DownloadParameter();
    // Built-in default image 1, 2 or 3 into the image and the controls, then to the mouse.
    bool DefaultParameter(int number);
    // Factory reset: the image built from the factory contents, shown and written.
    bool TLDefaultParameter();
    // The busy bracket of a transfer, for the pages' own: the device timer
    // held off, the overlays (not for the engineering page, which has none)
    // and the busy window around `work`. False when refused.
    bool RunBusy(const std::function<void()>& work, bool overlays = true);
    // An exchange with the mouse that keeps the session's write-enable flag
    // and controller code; only inside RunBusy or RunTransfer.
    MemoryAccess memoryAccess();
    // How much of the image a write sends: all of it, or the chunks that
    // differ from what the mouse is known to hold (all of it when unknown).
    // Apply: the changed chunks and always the chunk of the bytes the mouse
    // changes itself, which the window shows as it last read them.
    enum class WriteScope { Whole, Changed, Apply };
    // A loaded profile (already in the image) shown and written as it is.
    bool MemoToDataBuf_OnClick(WriteScope scope = WriteScope::Whole);
    // The last write reached the mouse whole and its verification passed.
    bool lastWriteSucceeded() const;
    // Where the mouse refused the last write (lastWriteResult() Refused).
    int lastWriteRefusedAddress() const { return LastWriteRefusedAddress; }
    // The program's own message window with one OK button.
    void RefreshFormMessagDialog(const QString& text);
    // How many messages the session has shown so far (a caller tells from
    // it whether a failure was already explained).
    int messagesShown() const { return MessagesShown; }

  private:
    // The procedures themselves, run inside a transfer.
    void devTimerSteps();
    void readDevInfo();
    void readOnRequest();
    void ReadDevInfoSteps();
    void btnRead();
    void writeImage(WriteScope scope = WriteScope::Whole);
    void runBusy(const std::function<void()>& work, bool overlays);
    // DevLost without its message: the no-device look and the timer on.
    void ResetToNoDevice();
    // After a transfer the user started: names the program that held the
    // mouse when it could not be had.
    void TellMouseHeldElsewhere();
    void RefreshPermissionHint();
    // Message boxes wait until this program has let the mouse go: a box
    // stays open for as long as the user leaves it, and no other program
    // may be kept waiting for the mouse meanwhile.
    void ShowWhenMouseFree(const QString& text, MessageStyle style);
    void releaseHold();
    struct PendingBox {
        QString text;
        MessageStyle style;
    };
    std::vector<PendingBox> PendingBoxes;

    Clock& clock_;
    Services& services_;
    SessionHost& host_;
    Transport link_;
    TextLookup text_;
    std::unique_ptr<Timer> DevTimer_;

    std::array<CandidateId, 2> CandidateIds{};
    int LastHidCount = 0;
    bool TimerBusy = false;
    bool TransferRunning = false;
    bool Closing = false;
    bool WriteEnable = false;
    int ControllerCode = -1; // -1: none
    bool LastReadComplete = false;
    bool LastReadRefusalShown = false;
    bool PermissionHintShown = false;
    bool goneHandled_ = false; // the last tick's read lost the mouse and set the count
    MemoryAccess::Verify LastWriteResult = MemoryAccess::Verify::Stopped;
    int WritesEnded = 0;
    int LastWriteRefusedAddress = -1;
    KnownMouseImage Known{link_};
    bool ReadLostChunks = false;
    int MessagesShown = 0;
    std::vector<MemoryRun> LastWriteRuns;
    int LastChunksWritten = 0;
    int LastChunksRead = 0;

    ConfigImage Image;
    std::array<ImageBytes, 3> DefaultImages{};
    // Identity bytes of the built-in default image, of the "[org]" reserve,
    // and as last read from the mouse.
    std::array<std::uint8_t, 2> ReferenceIdentity{0xFF, 0xFF};
    int Rev_Manu_ID = 0;
    int Rev_Pro_ID = 0;
    std::array<std::uint8_t, 2> IdentityBytes{};
};

} // namespace orb
