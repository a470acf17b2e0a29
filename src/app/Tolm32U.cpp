#include "Tolm32U.h"

#include "AboutBox.h"
#include "ChecksumDisplay.h"
#include "ChipOperations.h"
#include "ChipRequest.h"
#include "ConfigurationPart.h"
#include "DesktopProductionLog.h"
#include "DeviceChoice.h"
#include "DirectCommands.h"
#include "FilePart.h"
#include "MainStatusBar.h"
#include "ModuleConnection.h"
#include "OperationLog.h"
#include "Optdlg.h"
#include "RecentFiles.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRules.h"
#include "device/MemoryImage.h"
#include "editors/DatEditF.h"
#include "editors/ProgView.h"
#include "ops/Messages.h"
#include "ops/ProcDlg.h"
#include "settings/DesktopSettings.h"
#include "settings/PrivateProfile.h"
#include "settings/TolmSettings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QTimer>

TTolmMain::TTolmMain(MemoryImage &image, Messages &messages, QWidget *parent)
    : QMainWindow(parent), m_image(image), m_messages(messages)
{
    setObjectName(QStringLiteral("TolmMain"));
    CreateParts();
    BuildWindow();
    ConnectParts();
    SetKeyboardAccess();
    FormCreate();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    RestorePlace();
}

TTolmMain::~TTolmMain() = default;

void TTolmMain::CreateParts()
{
    m_device = new DeviceChoice(this);
    const DeviceRecord &device = m_device->Current();
    m_request = new ChipRequest(m_messages, this);
    m_config = new ConfigurationPart(m_image, device, this);
    m_module = new ModuleConnection(m_messages, this);
    m_operations = new ChipOperations(
        {m_image, device, m_messages, *m_module, *m_request, *m_config}, *this, this);
    m_commands = new DirectCommands(
        {m_image, device, m_messages, *m_module, *m_config, *m_operations}, this);
    StatusBar = new MainStatusBar;
    FilePart::Hooks fileHooks;
    fileHooks.chipWorkRunning = [this] { return m_operations->Busy(); };
    fileHooks.completeTypedByte = [this] {
        if (m_dataEditForm)
            m_dataEditForm->CompleteRememberedCell();
    };
    fileHooks.confirmSuccesses = [this] { return m_confirmSuccesses; };
    m_files = new FilePart({m_image, device, m_messages, *m_request, *m_config, *StatusBar},
                           std::move(fileHooks), this);
    m_productionLog = std::make_unique<DesktopProductionLog>(TolmSettings::SettingsFilePath());
    m_checksum = new ChecksumDisplay(
        m_image, device, *m_config, [this] { return m_operations->Busy(); }, this);
}

void TTolmMain::ConnectParts()
{
    connect(m_device, &DeviceChoice::DeviceSelectorChange, this, &TTolmMain::DeviceSelectorChange);
    connect(m_module, &ModuleConnection::StateChanged, this, &TTolmMain::ShowPortState);
    connect(m_operations, &ChipOperations::WorkRunning, this, &TTolmMain::ShowChipWorkRunning);
    // The production log's row for each Start, when Options switched it on; what became of it
    // follows the run's summary on the status line, which stays after the progress window has
    // gone.
    connect(m_operations, &ChipOperations::SequenceRun, this,
            [this](ChipOperation operation, const std::vector<TargetReport> &reports,
                   qint64 elapsedMs) {
                m_productionNote = m_productionLog->Record(
                    {operation, CurrentDevice().DeviceName, ModulePortName(),
                     m_files->Recent().Files().value(0), ShownChecksum(), reports, elapsedMs});
            });
    connect(m_operations, &ChipOperations::RunFinished, this,
            [this](ChipOperation, bool, const QString &summary) {
                ShowStatusLine(m_productionNote.isEmpty()
                                   ? summary
                                   : summary + QStringLiteral("; ") + m_productionNote);
            });
    connect(m_operations, &ChipOperations::ConfigurationRead, this,
            [this] { OptionPages->setCurrentWidget(Programming); });
    connect(m_operations, &ChipOperations::WorkEndedForClose, this, [this] {
        StorePlace();
        hide();
        emit MainWindowClosed();
    });
    connect(m_commands, &DirectCommands::StatusText, this, &TTolmMain::ShowStatusLine);
    connect(m_commands, &DirectCommands::ShowProgrammingPage, this,
            [this] { OptionPages->setCurrentWidget(Programming); });
    connect(m_commands, &DirectCommands::DeviceDetected, this, &TTolmMain::ChangeDevice);
    connect(m_files, &FilePart::FileNamed, this,
            [this](const QString &fileName) { ImageNamed(QFileInfo(fileName).fileName()); });
    connect(m_operations, &ChipOperations::StatusText, this, &TTolmMain::ShowStatusLine);
    // A Read replaces what the image held: the title names the chip now.
    connect(m_operations, &ChipOperations::RunFinished, this,
            [this](ChipOperation operation, bool succeeded) {
                if (operation != ChipOperation::Read)
                    return;
                const QString read = succeeded ? QStringLiteral("%1 read from the chip")
                                               : QStringLiteral("%1 read from the chip in part");
                ImageNamed(read.arg(CurrentDevice().DeviceName));
            });
    for (auto changed : {&MemoryImage::programCellChanged, &MemoryImage::dataCellChanged})
        connect(&m_image, changed, this, &TTolmMain::ImageEdited);
    for (auto filled : {&MemoryImage::programImageFilled, &MemoryImage::dataImageFilled})
        connect(&m_image, filled, this, &TTolmMain::ImageEdited);
    connect(m_files, &FilePart::StatusText, this, &TTolmMain::ShowStatusLine);
}

void TTolmMain::SetWindows(TOptionsDlg *optionsDlg, TDataEditForm *dataEditForm,
                           TProgViewForm *progViewForm, TAboutBox *aboutBox)
{
    m_optionsDlg = optionsDlg;
    m_dataEditForm = dataEditForm;
    m_progViewForm = progViewForm;
    m_aboutBox = aboutBox;
    ShowProgramEndInViewer();
}

void TTolmMain::SetPortDialog(TPortDlg *portDlg)
{
    m_module->SetPortDialog(portDlg);
}

void TTolmMain::SetOperationWindows(TIDCodeDlg *idCodeDlg, TProcessForm *processForm,
                                    TWaitingForm *waitingForm)
{
    m_processForm = processForm;
    if (m_processForm) {
        // It stands beside the main window, moves with it, and leaves its checksum and status
        // line in view.
        m_processForm->FollowWindow(*this);
        m_processForm->KeepUncovered(m_checksum->Label());
    }
    m_commands->SetIdCodeDialog(idCodeDlg);
    m_operations->SetWindows(processForm, waitingForm);
}

// Runs while no other window exists yet: it must not reach for any of them.
void TTolmMain::FormCreate()
{
    m_requests.ProcessFormUnplaced = true;
    m_module->ModuleConnected = false;
    {
        const TolmSettings::MainSettings settings =
            TolmSettings::ReadMainSettings(TolmSettings::SettingsFilePath());
        // A name no catalogue row carries (a hand-edited file) falls back to the default
        // device rather than leaving the program without one.
        if (!SetDeviceValues(settings.picDevice, false))
            SetDeviceValues(TolmSettings::kDefaultDevice, false);
        m_blankWordText = ::BlankWordText(CurrentDevice());
        // Without a port of the user's choosing nothing is opened: a default that names a
        // port of this machine could be anything, and opening it could fail before the window
        // is even shown.
        m_module->ModulePortName = settings.modulePort;
        m_files->SetDialogDirectories(settings.workingDir);
        const PrivateProfile boxes(TolmSettings::SettingsFilePath());
        m_confirmSuccesses = boxes.ReadString(DesktopSettings::kBoxesSection,
                                              DesktopSettings::kConfirmSuccessesKey,
                                              QStringLiteral("1")) != QLatin1String("0");
        m_operations->SetConfirmSuccesses(m_confirmSuccesses);
    }
    // A missing port is reported and start-up goes on: files and settings work without it,
    // and Connect tries again.
    m_module->OpenAtStartup();
    m_image.IDCodeText = QStringLiteral("FFFF");
}

const DeviceRecord &TTolmMain::CurrentDevice() const
{
    return m_device->Current();
}

std::uint16_t TTolmMain::ConfigWord() const
{
    return m_image.ConfigWord;
}

const QString &TTolmMain::ModulePortName() const
{
    return m_module->ModulePortName;
}

const QString &TTolmMain::OpenDialogDirectory() const
{
    return m_files->OpenDialogDirectory();
}

const QString &TTolmMain::SaveDialogDirectory() const
{
    return m_files->SaveDialogDirectory();
}

bool TTolmMain::ModuleConnected() const
{
    return m_module->ModuleConnected;
}

OperationDriver *TTolmMain::Driver()
{
    return m_operations->Driver();
}

void TTolmMain::SetReadySound(ReadySound &sound)
{
    m_operations->SetReadySound(sound);
}

void TTolmMain::ConfigToControls()
{
    m_config->ConfigToControls();
}

void TTolmMain::LoadStartFile(const QString &fileName)
{
    m_files->LoadStartFile(fileName);
}

RecentFiles &TTolmMain::Recent()
{
    return m_files->Recent();
}

FileWatch &TTolmMain::Watch()
{
    return m_files->Watch();
}

bool TTolmMain::ReloadAtOnce() const
{
    return m_files->ReloadAtOnce();
}

void TTolmMain::SetReloadAtOnce(bool atOnce)
{
    m_files->SetReloadAtOnce(atOnce);
}

std::uint16_t TTolmMain::ShownChecksum() const
{
    return m_checksum->Checksum();
}

void TTolmMain::ShowStatusLine(const QString &text)
{
    StatusBar->EndOffer();
    StatusBar->ShowText(text);
    if (m_log)
        m_log->Append(text);
}

bool TTolmMain::FormCloseQuery()
{
    return m_messages.Confirm(QStringLiteral("Close program?..."));
}

void TTolmMain::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    // Chip work under way finishes its word and powers the chip off as with Close; the
    // program ends when the work has returned. The windows stay until then.
    if (m_operations->CloseWhenIdle()) {
        event->ignore();
        return;
    }
    StorePlace();
    event->accept();
    emit MainWindowClosed();
}

void TTolmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (!FilePart::DraggedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TTolmMain::dropEvent(QDropEvent *event)
{
    const QString file = FilePart::DraggedFile(event->mimeData());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has ended: the boxes of the load are not to open inside the drag.
    QTimer::singleShot(0, m_files, [this, file] { m_files->LoadDroppedFile(file); });
}

bool TTolmMain::RefusedDuringChipWork(const QString &what)
{
    if (!m_operations->Busy())
        return false;
    ShowStatusLine(QStringLiteral("%1 must wait until the chip work has ended").arg(what));
    return true;
}

void TTolmMain::OptionsBtnClick()
{
    if (!m_optionsDlg || RefusedDuringChipWork(QStringLiteral("Options")))
        return;
    // The dialog shows what the program runs with now, not what the file holds.
    m_optionsDlg->WorkingDirEdit->setText(m_files->OpenDialogDirectory());
    m_optionsDlg->DeviceSelectOpt->setCurrentText(m_device->SelectorText());
    m_optionsDlg->SetPortText(m_module->ModulePortName);
    m_optionsDlg->ReloadAtOnceCbx->setChecked(m_files->ReloadAtOnce());
    m_optionsDlg->ConfirmSuccessesCbx->setChecked(m_confirmSuccesses);
    if (m_optionsDlg->exec() != QDialog::Accepted)
        return;

    // Another port takes effect at once: the held one is given back and the new one opened
    // and checked, so the next chip work goes where the user has just said.
    m_module->ApplyPortChoice(m_optionsDlg->PortText());
    // The device selected again changes nothing: its ranges, the option controls and the image
    // stay as the user set them, and no fill is offered. A name the catalogue lacks keeps the
    // device too.
    const QString device = m_optionsDlg->DeviceSelectOpt->currentText();
    if (device != CurrentDevice().DeviceName && SetDeviceValues(device, true))
        SetProgramMemory();
    m_files->SetDialogDirectories(m_optionsDlg->WorkingDirEdit->text());
    m_files->SetReloadAtOnce(m_optionsDlg->ReloadAtOnceCbx->isChecked());
    m_confirmSuccesses = m_optionsDlg->ConfirmSuccessesCbx->isChecked();
    m_operations->SetConfirmSuccesses(m_confirmSuccesses);
}

void TTolmMain::ExitBtnClick()
{
    if (!m_aboutBox)
        return;
    m_aboutBox->SetProductName(QStringLiteral("Tolm"));
    m_aboutBox->SetVersionName(QStringLiteral("Version ") + VersionText);
    m_aboutBox->exec();
}

void TTolmMain::DataEditorBtnClick()
{
    if (!m_dataEditForm)
        return;
    m_dataEditForm->show();
    m_dataEditForm->raise();
    m_dataEditForm->activateWindow();
}

void TTolmMain::ProgEditorBtnClick()
{
    if (!m_progViewForm)
        return;
    m_progViewForm->show();
    m_progViewForm->raise();
    m_progViewForm->activateWindow();
}
