#include "ctl/MouseLink.h"

#include "device/MemoryAccess.h"
#include "image/ProfileFile.h"

#include <algorithm>

namespace orb::ctl
{

MouseLink::MouseLink(HidPlatform& host, const HidInterfaceInfo& itf, std::mutex& openLock,
                     std::unique_ptr<Clock> clock, const SessionSettings& settings)
    : path_(itf.path), settings_(settings), platform_(host, itf, openLock), clock_(std::move(clock))
{
    session_ = std::make_unique<DeviceSession>(*clock_, services_, platform_, settings_.vendorId, host_);
    session_->setTextLookup(settings_.text);
    session_->setReserveIdentity(settings_.reserveManufacturer, settings_.reserveProduct);
    session_->LoadReferenceIdentity();
}

Outcome MouseLink::Open()
{
    Transport& link = session_->link();
    link.setLockFolder(settings_.lockFolder, kMouseLockWaitMs);
    int release = kReleaseNumber;
    if (link.OpenHidDevice(settings_.vendorId, kProductId, release)) {
        // The mouse stays this tool's from its first exchange to the end of
        // the command: the window cannot come between its read and its write.
        link.holdLock();
        return {};
    }
    if (link.MouseRefusesOpening(settings_.vendorId, kProductId, kReleaseNumber))
        return {ExitRefused, QStringLiteral("cannot be opened: no permission (is the udev rule installed?)")};
    return {ExitNoMouse, QStringLiteral("gone, or not the mouse's configuration interface")};
}

Outcome MouseLink::Identify(std::array<std::uint8_t, 2>& identity)
{
    // The first steps of ReadDevInfo: status query, identity bytes, then the
    // exchange is closed again without reading the image.
    Outcome outcome;
    const bool ran = session_->RunTransfer([&] {
        bool writeEnable = false;
        int controllerCode = kNoControllerCode;
        MemoryAccess memory(session_->link(), writeEnable, controllerCode);
        if (!memory.QueryStatus()) {
            outcome = heldElsewhere().value_or(
                Outcome{ExitFailed, QStringLiteral("no answer to the status query")});
            return;
        }
        if (!memory.MemoryAccessAllowed()) {
            memory.CloseExchange();
            outcome = {ExitRefused, QStringLiteral("memory access not allowed")};
            return;
        }
        const bool read = memory.ReadBlockQuiet(IdentityAddr1, identity);
        memory.CloseExchange();
        if (!read)
            outcome = {ExitFailed, QStringLiteral("the identity bytes could not be read")};
    });
    if (!ran)
        return {ExitFailed, QStringLiteral("another transfer is running")};
    return outcome;
}

std::optional<Outcome> MouseLink::heldElsewhere() const
{
    const QString& holder = session_->link().heldBy();
    if (holder.isEmpty())
        return std::nullopt;
    return Outcome{ExitBusy, QStringLiteral("in use by %1: nothing done").arg(holder)};
}

Outcome MouseLink::refusalOrFailure()
{
    if (auto held = heldElsewhere())
        return *held;
    if (session_->lastReadRefusalShown())
        return {ExitRefused, services_.messages.join(QStringLiteral("; "))};
    // The session's no-device reset closes the dead handle (and forgets that
    // it died) before the outcome is asked for.
    if (session_->link().deviceGone() || !session_->link().hasDevice())
        return {ExitFailed, QStringLiteral("the mouse was pulled out")};
    return {ExitFailed, QStringLiteral("the mouse did not answer (read incomplete)")};
}

Outcome MouseLink::Read()
{
    services_.messages.clear();
    if (session_->ReadImageForSave())
        return {};
    return refusalOrFailure();
}

Outcome MouseLink::WriteProfile(const std::filesystem::path& file)
{
    // The mouse is read first, as the window does when it arrives: the
    // identity check applies, and a short file keeps the mouse's own bytes
    // past its end.
    if (Outcome read = Read(); read.code != ExitOk)
        return read;
    const ProfileLoadResult load = LoadProfileFile(file, session_->image().ImageBuf);
    if (load.status == ProfileLoadStatus::WrongType)
        return {ExitBadFile, QStringLiteral("not a profile file (no 0x99 at 0x07F)")};
    if (load.status != ProfileLoadStatus::Ok)
        return {ExitBadFile, QString::fromStdString(load.reason)};

    return writeImage();
}

Outcome MouseLink::WriteChanged(const std::function<std::optional<Outcome>(ConfigImage&)>& change)
{
    if (Outcome read = Read(); read.code != ExitOk)
        return read;
    // The change works on a copy: a refusal leaves the mouse untouched.
    ConfigImage changed = session_->image();
    if (auto refused = change(changed))
        return *refused;
    session_->image() = changed;
    return writeImage();
}

namespace
{
QString Hex3(int address)
{
    return QStringLiteral("0x") + QString::number(address, 16).toUpper().rightJustified(3, QLatin1Char('0'));
}
} // namespace

Outcome MouseLink::writeImage()
{
    services_.messages.clear();
    if (session_->transferRunning())
        return {ExitFailed, QStringLiteral("another transfer is running: nothing written")};
    session_->MemoToDataBuf_OnClick(settings_.fullWrite ? DeviceSession::WriteScope::Whole
                                                        : DeviceSession::WriteScope::Changed);
    switch (session_->lastWriteResult()) {
    case MemoryAccess::Verify::Matched:
    case MemoryAccess::Verify::Rewritten:
        return verifyWholeImage(session_->lastWriteResult() == MemoryAccess::Verify::Rewritten);
    case MemoryAccess::Verify::Failed:
        return {ExitVerifyFailed, QStringLiteral("verification failed: ") + services_.messages.join("; ")};
    case MemoryAccess::Verify::NotAllowed:
        return {ExitRefused, QStringLiteral("memory access not allowed: nothing written")};
    case MemoryAccess::Verify::DeviceGone:
        return {ExitFailed, QStringLiteral("the mouse was pulled out during the write")};
    case MemoryAccess::Verify::Refused:
        return {ExitFailed, QStringLiteral("the mouse refused the write at %1: not written whole")
                                .arg(Hex3(session_->lastWriteRefusedAddress()))};
    case MemoryAccess::Verify::Stopped:
        break;
    }
    if (auto held = heldElsewhere())
        return *held;
    return {ExitFailed, QStringLiteral("no answer to the status query: nothing written")};
}

Outcome MouseLink::verifyWholeImage(bool rewritten)
{
    // The window's verification reads back only 0x000-0x0FF; before the
    // tool says "verified", everything it wrote is read back, the macro
    // area included.
    const ImageBytes expected = session_->image().ImageBuf;
    ImageBytes readBack{};
    Outcome outcome;
    const bool ran = session_->RunTransfer([&] {
        MemoryAccess memory = session_->memoryAccess();
        if (!memory.QueryStatus()) {
            outcome = {ExitFailed, memory.deviceGone()
                                       ? QStringLiteral("the mouse was pulled out during the read-back")
                                       : QStringLiteral("no answer to the read-back's status query")};
            return;
        }
        const bool read = memory.ReadBlock(0, readBack) && memory.lostChunks() == 0;
        if (memory.deviceGone()) {
            outcome = {ExitFailed, QStringLiteral("the mouse was pulled out during the read-back")};
            return;
        }
        memory.CloseExchange();
        if (!read) {
            outcome = {ExitFailed, QStringLiteral("the mouse did not answer the read-back: not verified")};
            return;
        }
        const auto diff = std::mismatch(expected.begin(), expected.end(), readBack.begin());
        if (diff.first != expected.end())
            outcome = {ExitVerifyFailed,
                       QStringLiteral("verification failed: the mouse holds another value at %1")
                           .arg(Hex3(int(diff.first - expected.begin())))};
    });
    if (!ran)
        return {ExitFailed, QStringLiteral("another transfer is running: not verified")};
    if (outcome.code != ExitOk)
        return outcome;
    if (session_->lastWriteRuns().empty())
        return {ExitOk, QStringLiteral("nothing changed: nothing written, verified")};
    const auto windows = session_->lastWriteRuns().size();
    const QString what = QStringLiteral("%1 chunks written in %2 %3, %4 read back")
                             .arg(session_->lastChunksWritten())
                             .arg(windows)
                             .arg(windows == 1 ? QStringLiteral("window") : QStringLiteral("windows"))
                             .arg(session_->lastChunksRead());
    return {ExitOk, rewritten ? QStringLiteral("written and verified after one rewrite (%1)").arg(what)
                              : QStringLiteral("written and verified (%1)").arg(what)};
}

} // namespace orb::ctl
