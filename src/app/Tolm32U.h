#pragma once

#include "Version.h"
#include "device/DeviceRecord.h"
#include "ops/RequestFlags.h"

#include <QMainWindow>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>

class ChecksumDisplay;
class ChipOperations;
class ChipRequest;
class DesktopProductionLog;
class ConfigurationPart;
class DeviceChoice;
class DirectCommands;
class FilePart;
class FileWatch;
class MainStatusBar;
class MemoryImage;
class Messages;
class ModuleConnection;
class OperationDriver;
class OperationLog;
class QPlainTextEdit;
class QFrame;
class QGroupBox;
class QKeySequence;
class QTabWidget;
class QToolButton;
class QWidget;
class ReadySound;
class RecentFiles;
class TAboutBox;
class TDataEditForm;
class TIDCodeDlg;
class TOptionsDlg;
class TPortDlg;
class TProcessForm;
class TProgViewForm;
class TWaitingForm;

// The main window. It assembles its parts, each of which owns its controls and what they do:
// the device selector (DeviceChoice), the targets, method and address ranges (ChipRequest),
// the configuration controls (ConfigurationPart), the module port (ModuleConnection), the
// chip operations and commands (ChipOperations, DirectCommands), the hex files (FilePart),
// the checksum and the status line. The window itself keeps what ties them together: the
// settings at start-up, a device change, the Options and About boxes, the memory windows,
// and the lock on everything chip work reads while it runs.
class TTolmMain : public QMainWindow
{
    Q_OBJECT
public:
    static inline const QString VersionText = kVersionText;

    // Runs FormCreate: the settings are read and the device selected before any other
    // window exists, so the program viewer created next can fill its image with the blank
    // word chosen here.
    TTolmMain(MemoryImage &image, Messages &messages, QWidget *parent = nullptr);
    ~TTolmMain() override;

    // The windows created after this one (they may be null in tests).
    void SetWindows(TOptionsDlg *optionsDlg, TDataEditForm *dataEditForm,
                    TProgViewForm *progViewForm, TAboutBox *aboutBox);
    void SetPortDialog(TPortDlg *portDlg);
    void SetOperationWindows(TIDCodeDlg *idCodeDlg, TProcessForm *processForm,
                             TWaitingForm *waitingForm);
    // The log every box and status line goes to; the window shows it in a pane under the
    // pages (MainWindowSession.cpp).
    void SetOperationLog(OperationLog &log);

    const DeviceRecord &CurrentDevice() const;
    std::uint16_t ConfigWord() const;
    const QString &BlankWordText() const { return m_blankWordText; }
    const QString &ModulePortName() const;
    const QString &OpenDialogDirectory() const;
    const QString &SaveDialogDirectory() const;
    bool ModuleConnected() const;
    bool ProcessFormUnplaced() const { return m_requests.ProcessFormUnplaced; }
    RequestFlags &Requests() { return m_requests; }
    MemoryImage &Image() { return m_image; }

    ModuleConnection &Module() { return *m_module; }
    ChipOperations &Operations() { return *m_operations; }
    OperationDriver *Driver();
    // The chime at the end of an operation; the window's own plays "Ready.wav".
    void SetReadySound(ReadySound &sound);

    // Selects the named device and adapts every part to it. A name that matches no catalogue
    // row changes nothing and gives false.
    bool SetDeviceValues(const QString &deviceName, bool allowEditorClose);
    // Offers to fill the program image with the selected device's blank word.
    void SetProgramMemory();
    // The image's configuration word to the option controls.
    void ConfigToControls();

    // A file named on the command line (see FilePart::LoadStartFile).
    void LoadStartFile(const QString &fileName);
    RecentFiles &Recent();
    FileWatch &Watch();
    bool ReloadAtOnce() const;
    void SetReloadAtOnce(bool atOnce);
    // Quiet news on the status line: no box, no sound.
    void ShowStatusLine(const QString &text);
    // The checksum as the window shows it.
    std::uint16_t ShownChecksum() const;

public slots:
    void DeviceSelectorChange();
    void OptionsBtnClick();
    void ExitBtnClick();
    void DataEditorBtnClick();
    void ProgEditorBtnClick();

signals:
    // Emitted once the user has confirmed closing the main window; the program ends then.
    void MainWindowClosed();

protected:
    void closeEvent(QCloseEvent *event) override;
    // A hex file dropped on the window loads as Load From File does.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void CreateParts();
    void ConnectParts();
    void FormCreate();
    bool FormCloseQuery();
    // A device change as the user makes it: the fill question and the module check follow.
    void ChangeDevice(const QString &deviceName);
    // A memory-parity device needs a parity-capable module; a wrong or silent module ends
    // any operation that is waiting in the progress window.
    void CheckModuleAfterDeviceChange();
    // The window's fixed size for the pages of the selected part.
    void FitToPages();
    // Greys the program viewer's words past the selected device's highest address.
    void ShowProgramEndInViewer();
    // While chip work runs, the pages, the toolbar's ways to the module and the device, and
    // the memory windows' edits are disabled: nothing may change what the work reads.
    void ShowChipWorkRunning(bool running);
    void ShowPortState();
    bool RefusedDuringChipWork(const QString &what);

    // The session (MainWindowSession.cpp): the title names what the image holds, a file or
    // the chip read, marked when edited since; the window's place is kept between runs; the
    // log pane opens under the pages.
    void ImageNamed(const QString &source);
    void ImageEdited();
    void ShowTitle();
    void RestorePlace();
    void StorePlace() const;
    void BuildLogPane();
    void ShowLogPane(bool shown);

    // Window construction (MainWindowLayout.cpp).
    void BuildWindow();
    QWidget *BuildToolbar();
    QWidget *BuildProgrammingPage();
    QWidget *BuildConfigurationPage();
    QWidget *BuildSystemPage();
    QWidget *BuildAddressesPage();
    // Page keys and the Tab order (MainWindowKeys.cpp).
    void SetKeyboardAccess();
    void AddPageKey(const QKeySequence &keys, int step);
    // The Tab order through the controls of the selected part's own fields.
    void OrderPartFieldKeys();

    MemoryImage &m_image;
    Messages &m_messages;
    RequestFlags m_requests;
    QString m_blankWordText = QStringLiteral("3FFF");

    DeviceChoice *m_device = nullptr;
    ChipRequest *m_request = nullptr;
    ConfigurationPart *m_config = nullptr;
    ModuleConnection *m_module = nullptr;
    ChipOperations *m_operations = nullptr;
    DirectCommands *m_commands = nullptr;
    FilePart *m_files = nullptr;
    ChecksumDisplay *m_checksum = nullptr;
    MainStatusBar *StatusBar = nullptr;

    TOptionsDlg *m_optionsDlg = nullptr;
    TDataEditForm *m_dataEditForm = nullptr;
    TProgViewForm *m_progViewForm = nullptr;
    TAboutBox *m_aboutBox = nullptr;
    TProcessForm *m_processForm = nullptr;

    // The window's own controls: the toolbar buttons that open windows, and the groups that
    // hold controls of several parts.
    QFrame *MainPnl = nullptr;
    QToolButton *OptionsBtn = nullptr;
    QToolButton *DataEditorBtn = nullptr;
    QToolButton *ProgEditorBtn = nullptr;
    QToolButton *ExitBtn = nullptr;
    QTabWidget *OptionPages = nullptr;
    QWidget *Programming = nullptr;
    QWidget *Configuration = nullptr;
    QWidget *System = nullptr;
    QWidget *Addresses = nullptr;
    QGroupBox *Config = nullptr;
    QGroupBox *CalibrationBox = nullptr;
    QPlainTextEdit *OperationLogView = nullptr;

    OperationLog *m_log = nullptr;
    QSize m_builtSize;     // as built, with every shared group shown
    QSize m_baseSize;      // without the log pane, for the selected part
    QString m_imageSource; // the file, or the chip, the image came from; empty at start
    bool m_imageEdited = false;
    bool m_confirmSuccesses = true;
    // The production log's row of each Start, when Options switched it on, and what became of
    // it for the status line.
    std::unique_ptr<DesktopProductionLog> m_productionLog;
    QString m_productionNote;
};
