// Memory transfers with the mouse and the user actions that run them.
#include "app/MainWindow.h"
#include "device/MemoryAccess.h"
#include "image/DefaultImages.h"

#include <QVariant>

namespace orb
{

namespace
{
// The action buttons wait 110 ms with the queue pumped, so the pressed
// picture is seen before a long transfer starts.
constexpr int kButtonWaitSlices = 11;
constexpr int kButtonWaitSliceMs = 10;

const QString kNoMouse = QStringLiteral("Str020");
const QString kWrongIdentity = QStringLiteral("Str107");
const QString kVerifyFailed = QStringLiteral("Str109");
// The action buttons show their pressed picture on all four copies when clicked.
const QString kPressed = QStringLiteral("BtnS_03");

MemoryAccess memoryOf(MainWindow& w)
{
    return MemoryAccess(w.link(), w.WriteEnable, w.ControllerCode, [&w] { w.ShowLoading(); });
}

// Steps that belong to the macro lists and the host mouse settings; they
// run here, in this order, once those parts exist.
void refreshPCMacroNames(MainWindow&) {}
void clearMacroTexts(MainWindow&) {}
void applyHostMouseSettings(MainWindow&) {}

void setText(MainWindow& w, const char* name, const QString& text)
{
    if (QWidget* edit = w.findChild<QWidget*>(QString::fromLatin1(name)))
        edit->setProperty("text", text);
}
} // namespace

bool MainWindow::QueryStatus()
{
    return memoryOf(*this).QueryStatus();
}

void MainWindow::ReadDevInfo()
{
    MemoryAccess memory = memoryOf(*this);
    LastReadComplete = false;
    LastReadRefusalShown = false;
    ControllerCode = kNoControllerCode;
    if (!memory.QueryStatus())
        return;

    if (!memory.MemoryAccessAllowed()) {
        memory.CloseExchange();
        link_.closeDevice(); // used again only after the next rise of the interface count
        LastReadRefusalShown = true;
        services_.showMessage(LookupText(kNoMouse), MessageStyle::PlainBox);
        DevTimer_->setEnabled(true);
        return;
    }

    const bool identityRead = memory.ReadBlockQuiet(IdentityAddr1, IdentityBytes);
    setText(*this, "edt_VendorID_Rd", QString::number(IdentityBytes[0]));
    setText(*this, "edt_ProductID_Rd", QString::number(IdentityBytes[1]));
    if (!identityRead) {
        // A refused window leaves 0xFF 0xFF, which would pass for the shipped
        // identity: close the exchange and leave the mouse unread instead.
        memory.CloseExchange();
        return;
    }
    const bool reference = IdentityBytes == ReferenceIdentity;
    const bool reserve = IdentityBytes[0] == Rev_Manu_ID && IdentityBytes[1] == Rev_Pro_ID;
    if (reference || reserve) {
        Btn_Read();
        return;
    }
    DevTimer_->setEnabled(false);
    memory.CloseExchange();
    LastReadRefusalShown = true;
    services_.showMessage(LookupText(kWrongIdentity), MessageStyle::PlainBox);
    DevTimer_->setEnabled(true);
}

void MainWindow::Btn_Read()
{
    DevTimer_->setEnabled(false);
    ShowDisableAll();
    ShowLoading();
    refreshPCMacroNames(*this);
    MemoryAccess memory = memoryOf(*this);
    // Chunks that got no answer hold 0xFF; the section checks repair them.
    LastReadComplete = memory.ReadBlock(0, Image.ImageBuf) && memory.lostChunks() == 0;
    Image.SplitImage();
    RefreshMacrosFromArea();
    memory.CloseExchange();
    DataBufToUI();
    ShowMainAfterRead();
    HideLoading();
    DevTimer_->setEnabled(true);
    HideDisableAll();
}

void MainWindow::WriteImage()
{
    if (memoryOf(*this).WriteImage(Image.ImageBuf) == MemoryAccess::Verify::Failed)
        RefreshFormMessagDialog(LookupText(kVerifyFailed));
}

void MainWindow::RepeatedWriteEEPROM()
{
    const std::span<const std::uint8_t> image(Image.ImageBuf);
    if (memoryOf(*this).RepeatedWriteEEPROM(image.first<kVerifySize>()) == MemoryAccess::Verify::Failed)
        RefreshFormMessagDialog(LookupText(kVerifyFailed));
}

void MainWindow::DownloadParameter()
{
    HideAllMenu();
    DevTimer_->setEnabled(false);
    ShowDisableAll();
    ShowLoading();
    UIToDataBuf();
    Image.JoinImage([this](ProfileKeysBytes& keys) { AIMKeyToDataBuf(keys); });
    ShowLoading();
    applyHostMouseSettings(*this);
    WriteImage();
    HideLoading();
    DevTimer_->setEnabled(true);
    HideDisableAll();
}

void MainWindow::DefaultParameter(int number)
{
    HideAllMenu();
    DevTimer_->setEnabled(false);
    ShowDisableAll();
    ShowLoading();
    // Read afresh each time; without the embedded images nothing is written.
    const auto images = LoadDefaultImages();
    if (images && number >= 1 && number <= 3) {
        DefaultImages = *images;
        Image.ImageBuf = DefaultImages[std::size_t(number - 1)];
        Image.SplitImage();
        clearMacroTexts(*this);
        RefreshMacrosFromArea();
        ShowLoading();
        DataBufToUI();
        WriteImage(); // the image goes to the mouse exactly as loaded
    }
    HideLoading();
    DevTimer_->setEnabled(true);
    HideDisableAll();
}

void MainWindow::TLDefaultParameter()
{
    // Started from the engineering page, which has no overlay.
    HideAllMenu();
    DevTimer_->setEnabled(false);
    ShowLoading();
    Image.BuildFactoryImage();
    RefreshMacrosFromArea();
    DataBufToUI();
    WriteImage();
    HideLoading();
    DevTimer_->setEnabled(true);
}

// --- User actions ---

namespace
{
// What every action button does first: its pressed picture on all copies,
// the pumped wait when it has one, and the no-mouse refusal. True when a
// mouse is there to act on.
bool startAction(MainWindow& w, const char* group, bool wait)
{
    w.SetGroupPicture(QString::fromLatin1(group), kPressed);
    if (wait)
        w.clock().waitPumped(kButtonWaitSlices, kButtonWaitSliceMs);
    if (w.link().hasDevice())
        return true;
    w.services().showMessage(w.LookupText(kNoMouse), MessageStyle::Dialog);
    return false;
}
} // namespace

void MainWindow::Btn_Confirm_0Click()
{
    if (!startAction(*this, "Confirm", true))
        return;
    DownloadParameter();
    clock_.waitPumped(kButtonWaitSlices, kButtonWaitSliceMs);
    close();
}

void MainWindow::Btn_Apply_0Click()
{
    if (startAction(*this, "Apply", true))
        DownloadParameter();
}

void MainWindow::Btn_Read_0Click()
{
    if (!startAction(*this, "Read", false))
        return;
    // The status query and identity read pump the queue too; a device tick
    // in between could drop the handle under the running exchange.
    const bool timerWasOn = DevTimer_->isEnabled();
    DevTimer_->setEnabled(false);
    ReadDevInfo();
    if (timerWasOn)
        DevTimer_->setEnabled(true);
}

void MainWindow::Btn_Confirm1_1Click()
{
    if (startAction(*this, "Confirm1", true))
        DefaultParameter(1);
}

void MainWindow::Btn_Confirm2_1Click()
{
    if (startAction(*this, "Confirm2", true))
        DefaultParameter(2);
}

void MainWindow::Btn_Confirm3_1Click()
{
    if (startAction(*this, "Confirm3", true))
        DefaultParameter(3);
}

void MainWindow::Btn_DefaultClick()
{
    QWidget* result = findChild<QWidget*>(QStringLiteral("Img_Result"));
    if (result)
        result->hide();
    clock_.waitPumped(kButtonWaitSlices, kButtonWaitSliceMs);
    if (!link_.hasDevice())
        return;
    TLDefaultParameter();
    if (result)
        result->show();
}

// The read that precedes saving a profile: only a whole image may be saved.
bool MainWindow::ReadImageForSave()
{
    ReadDevInfo();
    return LastReadComplete && link().hasDevice();
}

} // namespace orb
