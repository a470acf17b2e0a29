// Read, Write, Verify and Blank Check from the main window, and the frame every piece of chip
// work runs in: one conversation with the module at a time, and a close of the main window
// that waits until the chip is powered off.
#include "DesktopProductionLog.h"
#include "Iddlg.h"
#include "MainStatusBar.h"
#include "RecentFiles.h"
#include "Tolm32U.h"
#include "WaitForm.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "editors/DatEditF.h"
#include "editors/ProgView.h"
#include "engine/DeviceId.h"
#include "engine/PicEngine.h"
#include "ops/Messages.h"
#include "ops/OperationDriver.h"
#include "ops/ProcDlg.h"
#include "ops/ReadySound.h"
#include "settings/TolmSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

void TTolmMain::SetOperationWindows(TIDCodeDlg *idCodeDlg, TProcessForm *processForm,
                                    TWaitingForm *waitingForm)
{
    m_idCodeDlg = idCodeDlg;
    m_processForm = processForm;
    m_waitingForm = waitingForm;
    if (!m_readySound) {
        m_ownSound = std::make_unique<WaveReadySound>();
        m_readySound = m_ownSound.get();
    }
    if (!m_processForm)
        return;

    OperationDriver::Hooks hooks;
    hooks.moduleBusy = [this] { return ModuleBusy(); };
    hooks.noTargetSelected = [this] { return NoTargetSelected(); };
    hooks.incorrectModule = [this] {
        return m_module.IncorrectModule(m_currentDevice, m_messages);
    };
    hooks.ticked = [this](ChipTarget target) {
        switch (target) {
        case ChipTarget::ProgramMemory:
            return ProgMemCbx->isChecked();
        case ChipTarget::DataMemory:
            return DataMemCbx->isChecked();
        case ChipTarget::IdCode:
            return IDCodeCbx->isChecked();
        case ChipTarget::ConfigWord:
            return ConfigCbx->isChecked();
        }
        return false;
    };
    hooks.configWordFromControls = [this] {
        ControlsToConfig();
        return m_image.ConfigWord;
    };
    hooks.configWordRead = [this](std::uint16_t word) {
        m_image.ConfigWord = word;
        ConfigToControls();
        ConfigEdit->setText(FormatHex(word, 4));
        OptionPages->setCurrentWidget(Programming);
    };
    hooks.withEngine = [this](const std::function<void(PicEngine &)> &body) {
        RunWithEngine(body);
    };
    hooks.programClosing = [this] { return m_closeWhenIdle; };
    hooks.leaveOutCalibration = [this] { return !WriteCalCbx->isChecked(); };
    hooks.eraseBeforeWrite = [this] { return EraseBeforeWriteCbx->isChecked(); };
    hooks.portNotOpen = [this] { return m_module.PortNotOpenText(); };
    hooks.noAnswerText = [this] { return m_module.NoAnswerText(); };
    // The production log's row for each Start, when Options switched it on; what became of
    // it follows the run's summary on the status line.
    auto productionLog = std::make_shared<DesktopProductionLog>(TolmSettings::SettingsFilePath());
    auto productionNote = std::make_shared<QString>();
    hooks.sequenceRun = [this, productionLog, productionNote](
                            ChipOperation operation, const std::vector<TargetReport> &reports,
                            qint64 elapsedMs) {
        *productionNote =
            productionLog->Record({operation, m_currentDevice.DeviceName, ModulePortName(),
                                   Recent().Files().value(0), ShownChecksum(), reports, elapsedMs});
    };
    m_driver = std::make_unique<OperationDriver>(*m_processForm, *this, m_messages, *m_readySound,
                                                 std::move(hooks));
    // What the last run did stays on the status line after the progress window has gone.
    connect(m_driver.get(), &OperationDriver::RunFinished, this,
            [this](bool, const QString &summary) { ShowStatusLine(summary); });
    connect(m_driver.get(), &OperationDriver::RunFinished, this,
            [this, productionNote](bool, const QString &summary) {
                if (!productionNote->isEmpty())
                    ShowStatusLine(summary + QStringLiteral("; ") + *productionNote);
            });
}

void TTolmMain::SetReadySound(ReadySound &sound)
{
    m_readySound = &sound;
    if (m_driver)
        m_driver->SetSound(sound);
}

void TTolmMain::ConnectChipHandlers()
{
    connect(ChipReadBtn, &QToolButton::clicked, this, &TTolmMain::ChipReadBtnClick);
    connect(ChipWriteBtn, &QToolButton::clicked, this, &TTolmMain::ChipWriteBtnClick);
    connect(VerifyBtn, &QToolButton::clicked, this, &TTolmMain::VerifyBtnClick);
    connect(BlancCheckBtn, &QToolButton::clicked, this, &TTolmMain::BlancCheckBtnClick);
    connect(ConfigReadBtn, &QToolButton::clicked, this, &TTolmMain::ConfigReadBtnClick);
    connect(ConfigWriteBtn, &QToolButton::clicked, this, &TTolmMain::ConfigWriteBtnClick);
    connect(ProtectBtn, &QToolButton::clicked, this, &TTolmMain::ProtectBtnClick);
    connect(UnProtectBtn, &QToolButton::clicked, this, &TTolmMain::UnProtectBtnClick);
    connect(ReadCalBtn, &QToolButton::clicked, this, &TTolmMain::ReadCalBtnClick);
    connect(WriteCalBtn, &QToolButton::clicked, this, &TTolmMain::WriteCalBtnClick);
    connect(BuildCalBtn, &QToolButton::clicked, this, &TTolmMain::BuildCalBtnClick);
    connect(IDCodeBtn, &QToolButton::clicked, this, &TTolmMain::IDCodeBtnClick);
}

bool TTolmMain::ModuleBusy() const
{
    return m_module.OperationInProgress;
}

void TTolmMain::RunHandler(const std::function<void()> &handler)
{
    ++m_handlerDepth;
    handler();
    --m_handlerDepth;
    // The program ends only once no handler is left on the stack: each of them still holds
    // the windows it works with.
    if (m_handlerDepth == 0 && m_closeWhenIdle) {
        m_closeWhenIdle = false;
        hide();
        emit MainWindowClosed();
    }
}

void TTolmMain::RunWithEngine(const std::function<void(PicEngine &)> &body)
{
    const DeviceRecord device = m_currentDevice;
    PicEngine engine(m_module.Module(), *this, m_image, device);
    m_module.OperationInProgress = true;
    m_module.MarkExchangesStart();
    ShowChipWorkRunning(true);
    body(engine);
    m_module.OperationInProgress = false;
    m_module.NoteWorkEnded();
    ShowChipWorkRunning(false);
    ShowPortState();
    ScheduleChecksum();
}

void TTolmMain::ShowChipWorkRunning(bool running)
{
    // The work reads the image, the ticks, the method, the address fields and the option
    // controls as it goes: none of them may change under it, nor may anything else talk to
    // the module. The page tabs stay, to look at the other pages.
    for (int i = 0; i < OptionPages->count(); ++i)
        OptionPages->widget(i)->setEnabled(!running);
    for (QWidget *control : {static_cast<QWidget *>(ConnectBtn), static_cast<QWidget *>(OptionsBtn),
                             static_cast<QWidget *>(DeviceSelector)})
        control->setEnabled(!running);
    DetectBtn->setEnabled(!running && HasDeviceId(m_currentDevice));
    StatusBar->ReloadBtn->setEnabled(!running);
    if (m_dataEditForm)
        m_dataEditForm->SetEditable(!running);
    if (m_progViewForm)
        m_progViewForm->SetEditable(!running);
}

bool TTolmMain::RefusedForThePort()
{
    const QString why = m_module.PortNotOpenText();
    if (why.isEmpty())
        return false;
    m_messages.Plain(why);
    return true;
}

bool TTolmMain::RefusedDuringChipWork(const QString &what)
{
    if (!ModuleBusy())
        return false;
    ShowStatusLine(QStringLiteral("%1 must wait until the chip work has ended").arg(what));
    return true;
}

void TTolmMain::RunOperation(ChipOperation operation)
{
    if (m_driver)
        RunHandler([&] { m_driver->Run(operation); });
}

void TTolmMain::ChipReadBtnClick()
{
    RunOperation(ChipOperation::Read);
}

void TTolmMain::ChipWriteBtnClick()
{
    RunOperation(ChipOperation::Write);
}

void TTolmMain::VerifyBtnClick()
{
    RunOperation(ChipOperation::Verify);
}

void TTolmMain::BlancCheckBtnClick()
{
    RunOperation(ChipOperation::BlankCheck);
}
