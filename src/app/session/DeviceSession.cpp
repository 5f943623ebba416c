// The device connection state machine and the memory transfers with the mouse.
#include "app/session/DeviceSession.h"

#include "device/MemoryAccess.h"
#include "image/DefaultImages.h"
#include "skin/TextSlots.h"

#include <QScopeGuard>
#include <algorithm>

namespace orb
{

namespace
{
constexpr int kDevTimerMs = 3500;

const QString kNoMouse = QStringLiteral("Str020");
const QString kWrongIdentity = QStringLiteral("Str107");
const QString kVerifyFailed = QStringLiteral("Str109");
const QString kMouseHeld = QStringLiteral("Str800");
const QString kReadIncomplete = QStringLiteral("Str801");

// The identity bytes, set on the engineering page: a mouse given another
// identity gets the whole image, as a new mouse would.
bool EngineeringChanged(const ImageBytes& held, const ImageBytes& image)
{
    return held[IdentityAddr1] != image[IdentityAddr1] || held[IdentityAddr2] != image[IdentityAddr2];
}
} // namespace

QString MouseHeldMessage(const QString& format, const QString& holder)
{
    // A pack without the key gives the key itself, which has no place for the holder.
    return format.contains(QLatin1String("%1")) ? format.arg(holder) : format + QLatin1Char(' ') + holder;
}

QString DeviceSession::MouseHeldText(const QString& holder) const
{
    return MouseHeldMessage(LookupText(kMouseHeld), holder);
}

void DeviceSession::ShowWhenMouseFree(const QString& text, MessageStyle style)
{
    ++MessagesShown;
    if (link_.holdingLock())
        PendingBoxes.push_back({text, style});
    else
        services_.showMessage(text, style);
}

void DeviceSession::releaseHold()
{
    link_.releaseHold();
    if (link_.holdingLock() || PendingBoxes.empty())
        return;
    // No tick while a box is open: it could open the mouse under the box.
    const bool timerWasOn = DevTimer_->isEnabled();
    DevTimer_->setEnabled(false);
    const auto boxes = std::exchange(PendingBoxes, {});
    for (const PendingBox& box : boxes)
        services_.showMessage(box.text, box.style);
    if (timerWasOn)
        DevTimer_->setEnabled(true);
}

DeviceSession::DeviceSession(Clock& clock, Services& services, HidPlatform& hid, int vendorId,
                             SessionHost& host)
    : clock_(clock), services_(services), host_(host), link_(hid, clock)
{
    CandidateIds[0] = {vendorId, kProductId};
    CandidateIds[1] = {0, 0};
    DevTimer_ = clock_.createTimer(kDevTimerMs, [this] { DevTimerTimer(); });
}

void DeviceSession::setReserveIdentity(int manufacturer, int product)
{
    Rev_Manu_ID = manufacturer;
    Rev_Pro_ID = product;
}

QString DeviceSession::LookupText(const QString& key) const
{
    return text_ ? text_(key) : key;
}

void DeviceSession::RefreshFormMessagDialog(const QString& text)
{
    ++MessagesShown;
    services_.showMessage(text, MessageStyle::MessageWindow);
}

// --- Connection state machine ---

void DeviceSession::DevTimerTimer()
{
    // A tick during a transfer (its waits pump the queue) is ignored: the
    // open below would replace the handle under the running exchange.
    if (TimerBusy || Closing)
        return;
    RunTransfer([this] { devTimerSteps(); });
}

void DeviceSession::devTimerSteps()
{
    TimerBusy = true;

    // Five pairs of counts; a device that is just arriving makes them disagree.
    int agreements = 0;
    int count = 0;
    for (int i = 0; i < 5; ++i) {
        const int c1 = link_.CountHidDevices();
        const int c2 = link_.CountHidDevices();
        if (c1 == c2)
            ++agreements;
        count = c1;
    }

    goneHandled_ = false;
    bool mouseHeldElsewhere = false;
    if (count != LastHidCount && agreements >= 2) {
        if (count < LastHidCount) {
            // Any interface leaving counts as the loss of the mouse.
            DevLost();
            link_.DeviceVendorId = 0;
            link_.DeviceProductId = 0;
            link_.closeDevice();
        } else {
            for (const CandidateId& id : CandidateIds) {
                if (id.vendor == 0 || id.product == 0)
                    continue;
                clock_.waitPumped(21, 100); // let the new device settle
                if (Closing)
                    break; // the window was closed during the settle
                int release = kReleaseNumber;
                if (link_.OpenHidDevice(id.vendor, id.product, release)) {
                    link_.DeviceVendorId = std::uint32_t(id.vendor);
                    link_.DeviceProductId = std::uint32_t(id.product);
                    readDevInfo();
                    if (!link_.heldBy().isEmpty()) {
                        // Another program is writing the mouse: let it go and
                        // leave the count, so a later tick reads what it wrote.
                        link_.closeDevice();
                        mouseHeldElsewhere = true;
                    }
                    break;
                }
                // A mouse that is there but that this user may not open is not
                // one to wait for: the permission hint says what is wrong.
                if (link_.MouseRefusesOpening(id.vendor, id.product, kReleaseNumber))
                    ResetToNoDevice();
                else
                    DevLost();
            }
        }
        // A mouse lost in the middle of the read has set the count already.
        if (!goneHandled_ && !mouseHeldElsewhere)
            LastHidCount = count;
    }
    RefreshPermissionHint();
    TimerBusy = false;
}

void DeviceSession::RefreshPermissionHint()
{
    // A mouse whose node this user may not open is never counted, so the
    // count alone would leave the user waiting in the no-device state.
    bool refused = false;
    if (!link_.hasDevice() && !Closing) {
        const CandidateId& id = CandidateIds[0];
        refused = link_.MouseRefusesOpening(id.vendor, id.product, kReleaseNumber);
    }
    if (refused != PermissionHintShown) {
        PermissionHintShown = refused;
        host_.ShowPermissionHint(refused);
    }
}

bool DeviceSession::HandleDeviceGone()
{
    if (!link_.deviceGone() || Closing)
        return false;
    // The mouse was pulled out in the middle of an exchange: its handle is
    // dead for good. Let it go now instead of at the next count change, and
    // take the count without it, so that the mouse plugged in again is a
    // rise at the next tick and is opened and read afresh.
    link_.DeviceVendorId = 0;
    link_.DeviceProductId = 0;
    link_.closeDevice();
    LastHidCount = link_.CountHidDevices();
    goneHandled_ = true;
    DevLost();
    return true;
}

void DeviceSession::DevLost()
{
    ResetToNoDevice();
    RefreshFormMessagDialog(
        DeviceLostMessage(LookupText(QStringLiteral("Str100")), LookupText(QStringLiteral("Str101"))));
}

void DeviceSession::ResetToNoDevice()
{
    host_.HideAllMenu();
    RefreshErrorAP();
    host_.DeviceLostShown();
    if (!DevTimer_->isEnabled())
        DevTimer_->setEnabled(true);
}

void DeviceSession::RefreshErrorAP()
{
    InitNoDevice();
    host_.ShowNoDevice();
}

void DeviceSession::LoadReferenceIdentity()
{
    if (const auto id = orb::LoadReferenceIdentity())
        ReferenceIdentity = *id;
}

void DeviceSession::InitNoDevice()
{
    Known.forget();
    ReadLostChunks = false;
    if (const auto images = LoadDefaultImages())
        DefaultImages = *images;
    Image.ImageBuf = DefaultImages[0];
    // The macro texts and lists of the last mouse go; the default image's
    // macro slots take their place.
    host_.ClearDeviceUI();
    Image.SplitImage();
    host_.RefreshMacrosFromArea();
    host_.DataBufToUI();
}

void DeviceSession::Close()
{
    Closing = true;
    link_.closeDevice();
    DevTimer_->setEnabled(false);
}

// --- Memory transfers ---

namespace
{
MemoryAccess memoryOf(Transport& link, bool& writeEnable, int& controllerCode, SessionHost& host)
{
    return MemoryAccess(link, writeEnable, controllerCode, [&host] { host.ShowLoading(); });
}
} // namespace

bool DeviceSession::BeginTransfer()
{
    if (TransferRunning)
        return false;
    TransferRunning = true;
    return true;
}

void DeviceSession::EndTransfer()
{
    TransferRunning = false;
}

bool DeviceSession::RunTransfer(const std::function<void()>& work)
{
    if (!BeginTransfer())
        return false;
    const auto end = qScopeGuard([this] {
        EndTransfer();
        // The window's holds have all been released by now. A hold that
        // outlasts the transfer is the tool's own, for its whole command:
        // its messages are lines, read when the command ends.
        for (const PendingBox& box : std::exchange(PendingBoxes, {}))
            services_.showMessage(box.text, box.style);
    });
    work();
    return true;
}

MemoryAccess DeviceSession::memoryAccess()
{
    Known.forget(); // what the caller sends is not followed
    return memoryOf(link_, WriteEnable, ControllerCode, host_);
}

bool DeviceSession::QueryStatus()
{
    bool ok = false;
    RunTransfer([this, &ok] { ok = memoryOf(link_, WriteEnable, ControllerCode, host_).QueryStatus(); });
    return ok;
}

void DeviceSession::ReadDevInfo()
{
    RunTransfer([this] { readDevInfo(); });
}

void DeviceSession::readDevInfo()
{
    link_.holdLock(); // the status query to the end of the image read
    ReadDevInfoSteps();
    releaseHold();
    HandleDeviceGone();
}

void DeviceSession::ReadDevInfoSteps()
{
    MemoryAccess memory = memoryOf(link_, WriteEnable, ControllerCode, host_);
    LastReadComplete = false;
    LastReadRefusalShown = false;
    Known.forget();
    ControllerCode = kNoControllerCode;
    if (!memory.QueryStatus())
        return;

    if (!memory.MemoryAccessAllowed()) {
        memory.CloseExchange();
        link_.closeDevice(); // used again only after the next rise of the interface count
        LastReadRefusalShown = true;
        ++MessagesShown;
        services_.showMessage(LookupText(kNoMouse), MessageStyle::PlainBox);
        DevTimer_->setEnabled(true);
        return;
    }

    const bool identityRead = memory.ReadBlockQuiet(IdentityAddr1, IdentityBytes);
    host_.ShowIdentity(IdentityBytes);
    if (!identityRead) {
        // A refused window leaves 0xFF 0xFF, which would pass for the shipped
        // identity: close the exchange and leave the mouse unread instead.
        memory.CloseExchange();
        return;
    }
    const bool reference = IdentityBytes == ReferenceIdentity;
    const bool reserve = IdentityBytes[0] == Rev_Manu_ID && IdentityBytes[1] == Rev_Pro_ID;
    if (reference || reserve) {
        btnRead();
        return;
    }
    memory.CloseExchange();
    LastReadRefusalShown = true;
    ShowWhenMouseFree(LookupText(kWrongIdentity), MessageStyle::PlainBox);
    DevTimer_->setEnabled(true);
}

void DeviceSession::ReadOnRequest()
{
    RunTransfer([this] { readOnRequest(); });
}

void DeviceSession::readOnRequest()
{
    const bool timerWasOn = DevTimer_->isEnabled();
    DevTimer_->setEnabled(false);
    readDevInfo();
    if (timerWasOn)
        DevTimer_->setEnabled(true);
    TellMouseHeldElsewhere();
}

void DeviceSession::TellMouseHeldElsewhere()
{
    if (!link_.heldBy().isEmpty())
        RefreshFormMessagDialog(MouseHeldText(link_.heldBy()));
}

bool DeviceSession::ReadImageForSave()
{
    if (!RunTransfer([this] { readOnRequest(); }))
        return false;
    return LastReadComplete && link_.hasDevice();
}

void DeviceSession::Btn_Read()
{
    RunTransfer([this] { btnRead(); });
}

void DeviceSession::btnRead()
{
    runBusy(
        [this] {
            host_.RefreshPCMacroNames();
            MemoryAccess memory = memoryOf(link_, WriteEnable, ControllerCode, host_);
            // Chunks that got no answer hold 0xFF; the section checks repair them.
            Known.forget();
            LastReadComplete = memory.ReadBlock(0, Image.ImageBuf) && memory.lostChunks() == 0;
            if (memory.deviceGone())
                return; // nothing of a half-read image is shown; the no-device reset follows
            ReadLostChunks = !LastReadComplete;
            // The bytes as read, before the section repairs: a repair is a change to write.
            if (LastReadComplete)
                Known.learn(Image.ImageBuf);
            else
                ShowWhenMouseFree(LookupText(kReadIncomplete), MessageStyle::MessageWindow);
            Image.SplitImage();
            host_.RefreshMacrosFromArea();
            memory.CloseExchange();
            host_.DataBufToUI();
            host_.ShowMainAfterRead();
        },
        true);
}

void DeviceSession::WriteImage()
{
    RunTransfer([this] { writeImage(); });
}

void DeviceSession::writeImage(WriteScope scope)
{
    const ImageBytes image = Image.ImageBuf;
    LastWriteRuns = kWholeImage;
    if (scope != WriteScope::Whole && ReadLostChunks) {
        // The picture holds bytes the mouse never gave: writing it would put
        // them in the mouse. Nothing goes out until a complete read.
        LastWriteRuns.clear();
        LastWriteResult = MemoryAccess::Verify::Stopped;
        LastChunksWritten = LastChunksRead = 0;
        LastWriteRefusedAddress = -1;
        ShowWhenMouseFree(LookupText(kReadIncomplete), MessageStyle::MessageWindow);
        return;
    }
    link_.holdLock(); // from the question below to the end of the verification
    // Another program (the command-line tool) may have written the mouse
    // since this session last had it: then only a whole write is sure.
    if (link_.OthersHadTheMouse())
        Known.forget();
    if (scope != WriteScope::Whole && Known.get() && !EngineeringChanged(*Known.get(), image)) {
        ImageBytes held = *Known.get();
        // The mouse's own bytes may have changed since the window read them:
        // an Apply always sends them, so the mouse ends up with what the
        // window shows. (The tool reads right before it writes.)
        if (scope == WriteScope::Apply)
            for (const std::size_t at : MouseOwnBytes)
                held[at] = std::uint8_t(~image[at]);
        LastWriteRuns = ChangedRuns(held, image, kWriteCosts);
    }
    Known.forget(); // unknown until the verification has passed
    MemoryAccess memory = memoryOf(link_, WriteEnable, ControllerCode, host_);
    LastWriteResult = memory.WriteImageRuns(image, LastWriteRuns);
    ++WritesEnded;
    LastChunksWritten = memory.chunksWritten();
    LastChunksRead = memory.chunksRead();
    if (lastWriteSucceeded()) {
        Known.learn(image);
        if (LastWriteRuns == kWholeImage)
            ReadLostChunks = false; // every byte is one the user chose now
    }
    releaseHold();
    LastWriteRefusedAddress = LastWriteResult == MemoryAccess::Verify::Refused ? memory.refusedAddress() : -1;
    // A write the mouse refused failed as surely as one that did not verify.
    if (LastWriteResult == MemoryAccess::Verify::Failed || LastWriteResult == MemoryAccess::Verify::Refused)
        ShowWhenMouseFree(LookupText(kVerifyFailed), MessageStyle::MessageWindow);
}

void DeviceSession::RepeatedWriteEEPROM()
{
    RunTransfer([this] {
        const std::span<const std::uint8_t> image(Image.ImageBuf);
        MemoryAccess memory = memoryOf(link_, WriteEnable, ControllerCode, host_);
        LastWriteResult = memory.RepeatedWriteEEPROM(image.first<kVerifySize>());
        ++WritesEnded;
        if (!lastWriteSucceeded()) {
            Known.forget();
        } else if (Known.get()) {
            ImageBytes held = *Known.get();
            std::copy_n(image.begin(), kVerifySize, held.begin());
            Known.learn(held);
        }
        LastWriteRefusedAddress =
            LastWriteResult == MemoryAccess::Verify::Refused ? memory.refusedAddress() : -1;
        if (LastWriteResult == MemoryAccess::Verify::Failed ||
            LastWriteResult == MemoryAccess::Verify::Refused)
            ShowWhenMouseFree(LookupText(kVerifyFailed), MessageStyle::MessageWindow);
    });
}

bool DeviceSession::lastWriteSucceeded() const
{
    return LastWriteResult == MemoryAccess::Verify::Matched ||
           LastWriteResult == MemoryAccess::Verify::Rewritten;
}

bool DeviceSession::RunBusy(const std::function<void()>& work, bool overlays)
{
    return RunTransfer([&] { runBusy(work, overlays); });
}

void DeviceSession::runBusy(const std::function<void()>& work, bool overlays)
{
    DevTimer_->setEnabled(false);
    if (overlays)
        host_.ShowDisableAll();
    host_.ShowLoading();
    link_.holdLock(); // no other program between the transfer's exchanges
    work();
    releaseHold();
    host_.HideLoading();
    DevTimer_->setEnabled(true);
    if (overlays)
        host_.HideDisableAll();
    if (!HandleDeviceGone())
        TellMouseHeldElsewhere();
}

bool DeviceSession::DownloadParameter()
{
    // Started again from inside a transfer, it changes nothing: not even the
    // menus or the image from the controls.
    bool written = false;
    RunTransfer([this, &written] {
        host_.HideAllMenu();
        runBusy(
            [this] {
                host_.UIToDataBuf();
                Image.JoinImage([this](ProfileKeysBytes& keys) { host_.AIMKeyToDataBuf(keys); });
                host_.ShowLoading();
                host_.ApplyHostMouseSettings();
                writeImage(WriteScope::Apply);
            },
            true);
        written = lastWriteSucceeded();
    });
    return written;
}

bool DeviceSession::DefaultParameter(int number)
{
    bool written = false;
    RunTransfer([this, number, &written] {
        host_.HideAllMenu();
        runBusy(
            [this, number, &written] {
                // Read afresh each time; without the embedded images nothing is written.
                const auto images = LoadDefaultImages();
                if (!images || number < 1 || number > 3)
                    return;
                DefaultImages = *images;
                Image.ImageBuf = DefaultImages[std::size_t(number - 1)];
                Image.SplitImage();
                host_.ClearMacroTexts();
                host_.RefreshMacrosFromArea();
                host_.ShowLoading();
                host_.DataBufToUI();
                writeImage(); // the image goes to the mouse exactly as loaded
                written = lastWriteSucceeded();
            },
            true);
    });
    return written;
}

bool DeviceSession::TLDefaultParameter()
{
    bool written = false;
    RunTransfer([this, &written] {
        // Started from the engineering page, which has no overlay.
        host_.HideAllMenu();
        runBusy(
            [this, &written] {
                Image.BuildFactoryImage();
                host_.RefreshMacrosFromArea();
                host_.DataBufToUI();
                writeImage();
                written = lastWriteSucceeded();
            },
            false);
    });
    return written;
}

bool DeviceSession::MemoToDataBuf_OnClick(WriteScope scope)
{
    bool written = false;
    RunTransfer([this, scope, &written] {
        Image.SplitImage();
        host_.RefreshMacrosFromArea();
        host_.DataBufToUI();
        // The file goes to the mouse as loaded; the repairs SplitImage made
        // reach it with the next Apply.
        runBusy(
            [this, scope, &written] {
                writeImage(scope);
                written = lastWriteSucceeded();
            },
            true);
    });
    return written;
}

} // namespace orb
