// The action buttons of the frame and what they start.
#include "app/frame/FrameActions.h"

#include "app/base/Skin.h"
#include "app/frame/MainWindow.h"
#include "app/pages/macros/MacroPage.h"
#include "app/session/DeviceSession.h"
#include "image/ProfileFile.h"
#include "macros/LibrarySharing.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace orb
{

namespace
{
// The action buttons wait 110 ms with the queue pumped, so the pressed
// picture is seen before a long transfer starts.
constexpr int kButtonWaitSlices = 11;
constexpr int kButtonWaitSliceMs = 10;

const QString kNoMouse = QStringLiteral("Str020");
// The action buttons show their pressed picture on all four copies when clicked.
const QString kPressed = QStringLiteral("BtnS_03");
const QString kSaveFilter = QStringLiteral("SaveFile(*.bin)|*.bin");
const QString kLoadFilter = QStringLiteral("LoadFile(*.bin)|*.bin");

QString FileErrorText(const QString& file, const std::string& reason)
{
    return QStringLiteral("%1\n\n%2").arg(QDir::toNativeSeparators(file), QString::fromLocal8Bit(reason));
}
} // namespace

FrameActions::FrameActions(QWidget* window, DeviceSession& session, Skin& skin,
                           std::function<void()> hideAllMenu)
    : window_(window), session_(session), skin_(skin), hideAllMenu_(std::move(hideAllMenu))
{
}

bool FrameActions::startAction(const char* group, bool wait)
{
    // Clicked while a transfer pumps the queue: nothing happens, not even
    // the wait (the session would refuse the transfer anyway).
    if (session_.transferRunning())
        return false;
    skin_.SetGroupPicture(QString::fromLatin1(group), kPressed);
    if (wait)
        session_.clock().waitPumped(kButtonWaitSlices, kButtonWaitSliceMs);
    if (session_.link().hasDevice())
        return true;
    session_.services().showMessage(skin_.LookupText(kNoMouse), MessageStyle::Dialog);
    return false;
}

void FrameActions::Btn_Confirm_0Click()
{
    if (!startAction("Confirm", true))
        return;
    const int told = session_.messagesShown();
    if (!session_.DownloadParameter()) {
        // The settings are still only in the window: it stays open with
        // them, and says so unless the write already did.
        if (session_.messagesShown() == told)
            session_.RefreshFormMessagDialog(session_.LookupText(QStringLiteral("Str109")));
        return;
    }
    session_.clock().waitPumped(kButtonWaitSlices, kButtonWaitSliceMs);
    window_->close();
}

void FrameActions::Btn_Apply_0Click()
{
    if (startAction("Apply", true))
        session_.DownloadParameter();
}

void FrameActions::Btn_Read_0Click()
{
    if (!startAction("Read", false))
        return;
    session_.ReadOnRequest();
}

void FrameActions::Btn_Confirm1_1Click()
{
    if (startAction("Confirm1", true))
        session_.DefaultParameter(1);
}

void FrameActions::Btn_Confirm2_1Click()
{
    if (startAction("Confirm2", true))
        session_.DefaultParameter(2);
}

void FrameActions::Btn_Confirm3_1Click()
{
    if (startAction("Confirm3", true))
        session_.DefaultParameter(3);
}

void FrameActions::Btn_DefaultClick()
{
    if (session_.transferRunning())
        return;
    QWidget* result = window_->findChild<QWidget*>(QStringLiteral("Img_Result"));
    if (result)
        result->hide();
    session_.clock().waitPumped(kButtonWaitSlices, kButtonWaitSliceMs);
    if (!session_.link().hasDevice())
        return;
    // The mark says the mouse holds the factory contents: only after a
    // write it took whole and that verified.
    if (session_.TLDefaultParameter() && result)
        result->show();
}

void FrameActions::Btn_Save_0Click()
{
    if (session_.transferRunning())
        return;
    hideAllMenu_();
    skin_.SetGroupPicture(QStringLiteral("Save"), QStringLiteral("SetS_03"));
    if (!session_.link().hasDevice()) {
        session_.services().showMessage(skin_.LookupText(QStringLiteral("Str020")), MessageStyle::Dialog);
        return;
    }
    const std::optional<QString> chosen = session_.services().saveFileName(kSaveFilter, QString());
    if (!chosen || chosen->isEmpty())
        return;
    const std::filesystem::path path = ProfileFilePath(QFileInfo(*chosen).filesystemFilePath());
    // A profile written over the macro library file would pass, at the
    // library's next save, for another program having emptied it.
    const QString target = QString::fromStdU16String(path.u16string());
    if (auto* window = qobject_cast<MainWindow*>(window_);
        window && IsLibraryFile(target, window->macroPage().libraryPath())) {
        session_.services().showMessage(
            LibraryText([this](const QString& key) { return skin_.LookupText(key); },
                        ExportOntoLibraryTextKey, {QDir::toNativeSeparators(target)}),
            MessageStyle::Dialog);
        return;
    }

    // The file holds what the mouse holds; a read that did not bring the
    // whole image must not leave a file that looks like a good profile.
    if (!session_.ReadImageForSave()) {
        // Unless the read showed its own refusal (identity or access), or
        // did not start beside another transfer, say that the mouse could
        // not be read.
        if (!session_.lastReadRefusalShown() && !session_.transferRunning())
            session_.services().showMessage(skin_.LookupText(QStringLiteral("Str020")), MessageStyle::Dialog);
        return;
    }
    const ProfileSaveResult saved = SaveProfileFile(path, session_.image().ImageBuf);
    if (!saved.ok)
        session_.services().showMessage(
            FileErrorText(QString::fromStdU16String(path.u16string()), saved.reason), MessageStyle::Dialog);
}

void FrameActions::Btn_Load_0Click()
{
    if (session_.transferRunning())
        return;
    hideAllMenu_();
    skin_.SetGroupPicture(QStringLiteral("Load"), QStringLiteral("SetS_03"));
    if (!session_.link().hasDevice()) {
        session_.services().showMessage(skin_.LookupText(QStringLiteral("Str020")), MessageStyle::Dialog);
        return;
    }
    const std::optional<QString> chosen = session_.services().openFileName(kLoadFilter);
    if (!chosen || chosen->isEmpty())
        return;

    ImageBytes loaded = session_.image().ImageBuf;
    const ProfileLoadResult result = LoadProfileFile(QFileInfo(*chosen).filesystemFilePath(), loaded);
    switch (result.status) {
    case ProfileLoadStatus::CannotRead:
        session_.services().showMessage(FileErrorText(*chosen, result.reason), MessageStyle::Dialog);
        return;
    case ProfileLoadStatus::WrongType:
        session_.services().showMessage(skin_.LookupText(QStringLiteral("Str102")), MessageStyle::Dialog);
        return;
    case ProfileLoadStatus::Ok:
        break;
    }
    // The image is not touched while another transfer uses it.
    if (session_.transferRunning())
        return;
    session_.image().ImageBuf = loaded;
    session_.MemoToDataBuf_OnClick();
}

} // namespace orb
