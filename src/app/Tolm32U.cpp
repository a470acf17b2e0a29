#include "Tolm32U.h"

#include "AboutBox.h"
#include "MainStatusBar.h"
#include "Optdlg.h"
#include "PortConU.h"
#include "RecentFiles.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRules.h"
#include "device/MemoryImage.h"
#include "editors/DatEditF.h"
#include "editors/ProgView.h"
#include "ops/Messages.h"
#include "ops/OperationDriver.h"
#include "ops/ProcDlg.h"
#include "ops/ReadySound.h"
#include "settings/TolmSettings.h"
#include "settings/WorkingDir.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

TTolmMain::TTolmMain(MemoryImage &image, Messages &messages, QWidget *parent)
    : QMainWindow(parent), m_image(image), m_messages(messages)
{
    setObjectName(QStringLiteral("TolmMain"));
    BuildWindow();
    ConnectHandlers();
    SetKeyboardAccess();
    ConnectChipHandlers();
    BuildFileExtras();
    ConnectChecksum();
    FormCreate();
    ShowPortState();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TTolmMain::~TTolmMain() = default;

void TTolmMain::SetWindows(TOptionsDlg *optionsDlg, TDataEditForm *dataEditForm,
                           TProgViewForm *progViewForm, TAboutBox *aboutBox)
{
    m_optionsDlg = optionsDlg;
    m_dataEditForm = dataEditForm;
    m_progViewForm = progViewForm;
    m_aboutBox = aboutBox;
    ShowProgramEndInViewer();
}

// Runs while no other window exists yet: it must not reach for any of them.
void TTolmMain::FormCreate()
{
    m_requests.ProcessFormUnplaced = true;
    m_module.ModuleConnected = false;
    {
        const TolmSettings::MainSettings settings =
            TolmSettings::ReadMainSettings(TolmSettings::SettingsFilePath());
        // A name no catalogue row carries (a hand-edited file) falls back to the default
        // device rather than leaving the program without one.
        if (!SetDeviceValues(settings.picDevice, false))
            SetDeviceValues(TolmSettings::kDefaultDevice, false);
        m_blankWordText = ::BlankWordText(m_currentDevice);
        // Without a port of the user's choosing nothing is opened: a default that names a
        // port of this machine could be anything, and opening it could fail before the window
        // is even shown.
        m_module.ModulePortName = settings.modulePort;
        SetDialogDirectories(settings.workingDir);
    }
    // A missing port is reported and start-up goes on: files and settings work without it,
    // and Connect tries again.
    m_module.OpenAtStartup(m_messages);
    m_image.IDCodeText = QStringLiteral("FFFF");
}

void TTolmMain::SetDialogDirectories(const QString &directory)
{
    m_openDialogDirectory = DialogDirectory(directory);
    m_saveDialogDirectory = DialogDirectory(directory);
}

bool TTolmMain::NoTargetSelected()
{
    for (const QCheckBox *target : {ProgMemCbx, DataMemCbx, ConfigCbx, IDCodeCbx}) {
        if (target->isChecked())
            return false;
    }
    m_messages.Warning(QStringLiteral("No target selected"));
    return true;
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
    if (m_handlerDepth > 0) {
        // Chip work is under way: the running method finishes its word and powers the chip
        // off as with Close, nothing further runs, and the program ends when the work has
        // returned (RunHandler). The windows stay until then.
        event->ignore();
        m_closeWhenIdle = true;
        if (m_processForm)
            m_processForm->CloseBtnClick();
        return;
    }
    event->accept();
    emit MainWindowClosed();
}

void TTolmMain::OptionsBtnClick()
{
    if (!m_optionsDlg || RefusedDuringChipWork(QStringLiteral("Options")))
        return;
    // The dialog shows what the program runs with now, not what the file holds.
    m_optionsDlg->WorkingDirEdit->setText(m_openDialogDirectory);
    m_optionsDlg->DeviceSelectOpt->setCurrentText(DeviceSelector->currentText());
    m_optionsDlg->SetPortText(m_module.ModulePortName);
    m_optionsDlg->ReloadAtOnceCbx->setChecked(m_reloadAtOnce);
    if (m_optionsDlg->exec() != QDialog::Accepted)
        return;

    // Another port takes effect at once: the held one is given back and the new one opened
    // and checked, so the next chip work goes where the user has just said.
    m_module.ApplyPortChoice(m_optionsDlg->PortText(), m_messages);
    ShowPortState();
    // The device selected again changes nothing: its ranges, the option controls and the image
    // stay as the user set them, and no fill is offered. A name the catalogue lacks keeps the
    // device too.
    const QString device = m_optionsDlg->DeviceSelectOpt->currentText();
    if (device != m_currentDevice.DeviceName && SetDeviceValues(device, true))
        SetProgramMemory();
    // A working directory the user has just changed is where the choosers start again,
    // even after a file elsewhere was loaded.
    if (DialogDirectory(m_optionsDlg->WorkingDirEdit->text()) != m_openDialogDirectory)
        m_fileFolder.clear();
    SetDialogDirectories(m_optionsDlg->WorkingDirEdit->text());
    m_reloadAtOnce = m_optionsDlg->ReloadAtOnceCbx->isChecked();
}

void TTolmMain::ConnectBtnClick()
{
    if (!m_portDlg || RefusedDuringChipWork(QStringLiteral("Connect")))
        return;
    m_portDlg->SetPortName(m_module.ModulePortName);
    m_module.HandlePortChoice(m_portDlg->exec(), m_messages);
    ShowPortState();
}

void TTolmMain::CheckModuleAfterDeviceChange()
{
    // The check talks to the module; in the middle of chip work it would garble both. The
    // running work keeps the device it started with.
    if (ModuleBusy())
        return;
    if (!m_module.IncorrectModule(m_currentDevice, m_messages))
        return;
    if (m_processForm)
        m_processForm->CloseBtnClick(); // wakes an operation waiting for Start
    else
        m_requests.CloseRequested = true;
}

void TTolmMain::ExitBtnClick()
{
    if (!m_aboutBox)
        return;
    m_aboutBox->SetProductName(QStringLiteral("Dar Irerirezov"));
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
