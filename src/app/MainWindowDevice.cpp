// What ties the parts together when the device changes, and while chip work runs.
#include "ChecksumDisplay.h"
#include "ChipOperations.h"
#include "ChipRequest.h"
#include "ConfigurationPart.h"
#include "DeviceChoice.h"
#include "DirectCommands.h"
#include "MainStatusBar.h"
#include "ModuleConnection.h"
#include "Tolm32U.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "editors/DatEditF.h"
#include "editors/ProgView.h"
#include "ops/Messages.h"
#include "ops/ProcDlg.h"

#include <QGroupBox>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

bool TTolmMain::SetDeviceValues(const QString &deviceName, bool allowEditorClose)
{
    if (!m_device->Select(deviceName))
        return false;
    const DeviceRecord &device = CurrentDevice();
    m_config->AdaptToDevice();
    m_request->AdaptToDevice(device);
    m_commands->AdaptToDevice();
    m_operations->AdaptToDevice();
    DataEditorBtn->setEnabled(device.HasDataMemory);
    // The editor's contents stay in the image; only its window goes.
    if (!device.HasDataMemory && allowEditorClose && m_dataEditForm && m_dataEditForm->isVisible())
        m_dataEditForm->close();
    CalibrationBox->setVisible(device.HasCalibration);
    FitToPages();
    OrderPartFieldKeys();
    // Controls made while the window is hidden learn their final size when first polished and
    // laid out: the room they need is measured again then.
    QTimer::singleShot(0, this, &TTolmMain::FitToPages);
    ShowProgramEndInViewer();
    m_checksum->Schedule();
    return true;
}

void TTolmMain::FitToPages()
{
    // The window keeps the size it was built with; only a part whose own fields need more
    // room widens or lengthens it, and picking another part brings it back.
    if (!m_builtSize.isValid())
        return;
    // The part's own controls were made while hidden, unpolished: their sizes are asked anew,
    // in the style they will be shown in.
    m_config->OwnFieldsGroup()->ensurePolished();
    for (QWidget *w = m_config->OwnFieldsGroup(); w; w = w->parentWidget()) {
        if (w->layout()) {
            // Activation clears the nested layouts' sizes too.
            w->layout()->invalidate();
            w->layout()->activate();
        }
    }
    const bool logShown = !OperationLogView->isHidden();
    QSize needed = sizeHint();
    if (logShown)
        needed.rheight() -= OperationLogView->height() + centralWidget()->layout()->spacing();
    m_baseSize = m_builtSize.expandedTo(needed);
    ShowLogPane(logShown);
}

void TTolmMain::SetProgramMemory()
{
    const QString blank = ::BlankWordText(CurrentDevice());
    if (m_messages.Confirm(QStringLiteral("Set Program Memory to %1 ?").arg(blank)))
        m_image.FillProgramImage(blank);
}

void TTolmMain::DeviceSelectorChange()
{
    if (RefusedDuringChipWork(QStringLiteral("A device change"))) {
        m_device->ShowCurrent();
        return;
    }
    ChangeDevice(m_device->SelectorText());
}

void TTolmMain::ChangeDevice(const QString &deviceName)
{
    SetDeviceValues(deviceName, true);
    SetProgramMemory();
    CheckModuleAfterDeviceChange();
}

void TTolmMain::CheckModuleAfterDeviceChange()
{
    // The check talks to the module; in the middle of chip work it would garble both. The
    // running work keeps the device it started with.
    if (m_operations->Busy() || !m_module->IncorrectModule(CurrentDevice()))
        return;
    if (m_processForm)
        m_processForm->CloseBtnClick(); // wakes an operation waiting for Start
    else
        m_requests.CloseRequested = true;
}

void TTolmMain::ShowProgramEndInViewer()
{
    if (!m_progViewForm)
        return;
    const std::optional<uint32_t> last = ParseHexText(CurrentDevice().ProgMaxText);
    m_progViewForm->SetLastProgramAddress(last ? int(*last) : MemoryImage::kProgramWords - 1);
}

void TTolmMain::ShowChipWorkRunning(bool running)
{
    // The work reads the image, the ticks, the method, the address fields and the option
    // controls as it goes: none of them may change under it, nor may anything else talk to
    // the module. The page tabs stay, to look at the other pages.
    for (int i = 0; i < OptionPages->count(); ++i)
        OptionPages->widget(i)->setEnabled(!running);
    for (QWidget *control :
         {m_module->ConnectButton(), static_cast<QWidget *>(OptionsBtn), m_device->Selector()})
        control->setEnabled(!running);
    m_commands->SetChipWorkRunning(running);
    StatusBar->ReloadBtn->setEnabled(!running);
    if (m_dataEditForm)
        m_dataEditForm->SetEditable(!running);
    if (m_progViewForm)
        m_progViewForm->SetEditable(!running);
    if (!running)
        m_checksum->Schedule();
}

void TTolmMain::ShowPortState()
{
    StatusBar->ShowPortState(m_module->PortStatusText());
}
