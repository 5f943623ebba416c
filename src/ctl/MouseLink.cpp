#include "ctl/MouseLink.h"

#include "device/MemoryAccess.h"
#include "image/ProfileFile.h"

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
    bool writeEnable = false;
    int controllerCode = kNoControllerCode;
    MemoryAccess memory(session_->link(), writeEnable, controllerCode);
    if (!memory.QueryStatus())
        return heldElsewhere().value_or(Outcome{ExitFailed, QStringLiteral("no answer to the status query")});
    if (!memory.MemoryAccessAllowed()) {
        memory.CloseExchange();
        return {ExitRefused, QStringLiteral("memory access not allowed")};
    }
    const bool read = memory.ReadBlockQuiet(IdentityAddr1, identity);
    memory.CloseExchange();
    if (!read)
        return {ExitFailed, QStringLiteral("the identity bytes could not be read")};
    return {};
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
    if (session_->link().deviceGone())
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

Outcome MouseLink::writeImage()
{
    services_.messages.clear();
    session_->MemoToDataBuf_OnClick();
    switch (session_->lastWriteResult()) {
    case MemoryAccess::Verify::Matched:
        return {ExitOk, QStringLiteral("written and verified")};
    case MemoryAccess::Verify::Rewritten:
        return {ExitOk, QStringLiteral("written and verified after one rewrite")};
    case MemoryAccess::Verify::Failed:
        return {ExitVerifyFailed, QStringLiteral("verification failed: ") + services_.messages.join("; ")};
    case MemoryAccess::Verify::NotAllowed:
        return {ExitRefused, QStringLiteral("memory access not allowed: nothing written")};
    case MemoryAccess::Verify::DeviceGone:
        return {ExitFailed, QStringLiteral("the mouse was pulled out during the write")};
    case MemoryAccess::Verify::Stopped:
        break;
    }
    if (auto held = heldElsewhere())
        return *held;
    return {ExitFailed, QStringLiteral("no answer to the status query: nothing written")};
}

} // namespace orb::ctl
