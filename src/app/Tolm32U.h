#pragma once

#include "ModuleConnection.h"
#include "device/ConfigControls.h"
#include "device/DeviceRecord.h"
#include "hexfile/HexTargets.h"
#include "ops/RequestFlags.h"
#include "texts/TextEngineHost.h"

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>

class Messages;
class MemoryImage;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QKeySequence;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;
class QToolButton;
class QWidget;
class HexEditFilter;
class TOptionsDlg;
class TAboutBox;
class TDataEditForm;
class TProgViewForm;
class TPortDlg;
class TIDCodeDlg;
class TProcessForm;
class TWaitingForm;
class OperationDriver;
class PicEngine;
class ReadySound;
class RecentFiles;
class FileWatch;
class MainStatusBar;
enum class ChipOperation;

// The main window: the device selector, the user's targets and method, the configuration
// controls and the address fields are the user's whole request; every operation reads them
// from here at the moment it runs. It is also the chip engine's host: the method buttons,
// the address fields, the progress window and the "Please Wait" window.
class TTolmMain : public QMainWindow, public TextEngineHost
{
    Q_OBJECT
public:
    static inline const QString VersionText = QStringLiteral("V2.60");

    // Runs FormCreate: the settings are read and the device selected before any other
    // window exists, so the program viewer created next can fill its image with the blank
    // word chosen here.
    TTolmMain(MemoryImage &image, Messages &messages, QWidget *parent = nullptr);
    ~TTolmMain() override;

    // The windows created after this one (they may be null in tests).
    void SetWindows(TOptionsDlg *optionsDlg, TDataEditForm *dataEditForm,
                    TProgViewForm *progViewForm, TAboutBox *aboutBox);

    const DeviceRecord &CurrentDevice() const { return m_currentDevice; }
    uint16_t ConfigWord() const;
    const QString &BlankWordText() const { return m_blankWordText; }
    const QString &ModulePortName() const { return m_module.ModulePortName; }
    const QString &OpenDialogDirectory() const { return m_openDialogDirectory; }
    const QString &SaveDialogDirectory() const { return m_saveDialogDirectory; }
    bool ModuleConnected() const { return m_module.ModuleConnected; }
    bool ProcessFormUnplaced() const { return m_requests.ProcessFormUnplaced; }
    ModuleConnection &Module() { return m_module; }
    RequestFlags &Requests() { return m_requests; }

    // The Port dialog, created last of all windows.
    void SetPortDialog(TPortDlg *portDlg) { m_portDlg = portDlg; }
    // The windows of the chip operations (OperationButtons.cpp).
    void SetOperationWindows(TIDCodeDlg *idCodeDlg, TProcessForm *processForm,
                             TWaitingForm *waitingForm);
    OperationDriver *Driver() { return m_driver.get(); }
    // The chime at the end of an operation; the window's own plays "Ready.wav".
    void SetReadySound(ReadySound &sound);
    MemoryImage &Image() { return m_image; }

    // Selects the named device and adapts every control to it. A name that matches no
    // catalogue row changes nothing and gives false.
    bool SetDeviceValues(const QString &deviceName, bool allowEditorClose);
    void SetProgramMemory();
    bool NoTargetSelected();

    // The configuration controls as the mapping functions see them, and back.
    ConfigControls ReadConfigControls() const;
    void WriteConfigControls(const ConfigControls &controls);
    void ConfigToControls();
    void ControlsToConfig();

    // Files as a desktop user expects them (MainWindowFiles.cpp). The file given on the
    // command line: every target the device has is ticked, then it loads as Load From File
    // does, its success told on the status line rather than in a box.
    void LoadStartFile(const QString &fileName);
    // A file from the Load button's menu, or dropped on the window: as Load From File.
    void LoadRecentFile(const QString &fileName);
    void LoadDroppedFile(const QString &fileName);
    // The loaded file changed on disk: loaded again for the ticked targets.
    void ReloadChangedFile();
    // Where the open and save choosers start: the folder of the file last loaded or saved,
    // before that the working directory.
    QString DialogStartFolder(const QString &workingDir) const;
    RecentFiles &Recent() { return *m_recentFiles; }
    FileWatch &Watch() { return *m_fileWatch; }
    bool ReloadAtOnce() const { return m_reloadAtOnce; }
    void SetReloadAtOnce(bool atOnce) { m_reloadAtOnce = atOnce; }
    // Quiet news on the status line: no box, no sound.
    void ShowStatusLine(const QString &text);
    // The checksum as the main window shows it, over the image and the word the option
    // controls build (MainChecksum.cpp).
    uint16_t ShownChecksum() const;

public slots:
    void ConnectBtnClick();
    void DeviceSelectorChange();
    void MaxProgBtnClick();
    void MaxDataBtnClick();
    void RefreshBtnClick();
    void OptionsBtnClick();
    void ExitBtnClick();
    void DataEditorBtnClick();
    void ProgEditorBtnClick();
    void LoadFromFileBtnClick();
    void SaveToFileBtnClick();

    // The four operations over the ticked targets (OperationButtons.cpp).
    void ChipReadBtnClick();
    void ChipWriteBtnClick();
    void VerifyBtnClick();
    void BlancCheckBtnClick();
    // The chip commands beside them (ChipCommandButtons.cpp).
    void ConfigReadBtnClick();
    void ConfigWriteBtnClick();
    void ProtectBtnClick();
    void UnProtectBtnClick();
    void ReadCalBtnClick();
    void WriteCalBtnClick();
    void BuildCalBtnClick();
    void IDCodeBtnClick();
    // Reads the device ID and selects the part found (DetectAndErase.cpp).
    void DetectBtnClick();

public:
    // EngineHost (MainEngineHost.cpp).
    bool ParallelSelected() const override;
    void SetParallelSelected(bool parallel) override;
    QString ProgStartText() const override;
    QString ProgEndText() const override;
    QString DataStartText() const override;
    QString DataEndText() const override;
    void SetStatus(const QString &text) override;
    void SetProgressStart(std::uint16_t address, bool dataAddress) override;
    void SetProgressMax(int maximum) override;
    void StepProgress() override;
    void SetStartCaption(const QString &caption) override;
    bool PauseRequested() const override;
    bool CloseRequested() const override;
    void ProcessEvents() override;
    void WaitWhilePaused() override;
    void Delay(int ms) override;
    WriteErrorAnswer AskWriteError(const QString &text, WriteErrorButtons buttons) override;
    WriteErrorAnswer AskWordWriteError(const QString &text, WriteErrorButtons buttons,
                                       const WordNotWritten &word, bool dataMemory) override;
    void ShowWaiting(bool visible) override;

signals:
    // Emitted once the user has confirmed closing the main window; the program ends then.
    void MainWindowClosed();

public:
    // Toolbar.
    QFrame *MainPnl = nullptr;
    QToolButton *ConnectBtn = nullptr;
    QToolButton *OptionsBtn = nullptr;
    QToolButton *DataEditorBtn = nullptr;
    QToolButton *ProgEditorBtn = nullptr;
    QComboBox *DeviceSelector = nullptr;
    QToolButton *ExitBtn = nullptr;
    QTabWidget *OptionPages = nullptr;

    // "Programming" page.
    QWidget *Programming = nullptr;
    QGroupBox *TargetsBox = nullptr;
    QCheckBox *ProgMemCbx = nullptr;
    QCheckBox *DataMemCbx = nullptr;
    QCheckBox *ConfigCbx = nullptr;
    QCheckBox *IDCodeCbx = nullptr;
    QCheckBox *WriteCalCbx = nullptr; // Write, Verify and Blank Check take the calibration word
    QGroupBox *MethodBox = nullptr;
    QRadioButton *ParallelRBtn = nullptr;
    QRadioButton *SerialRBtn = nullptr;
    QToolButton *LoadFromFileBtn = nullptr;
    QToolButton *SaveToFileBtn = nullptr;
    QToolButton *ChipReadBtn = nullptr;
    QToolButton *ChipWriteBtn = nullptr;
    QToolButton *VerifyBtn = nullptr;
    QToolButton *BlancCheckBtn = nullptr;
    QToolButton *ProtectBtn = nullptr;
    QToolButton *UnProtectBtn = nullptr;
    QToolButton *IDCodeBtn = nullptr;

    // "Configuration" page.
    QWidget *Configuration = nullptr;
    QGroupBox *OscillatorBox = nullptr;
    QComboBox *OscBox = nullptr;
    QGroupBox *ProtectionBox = nullptr;
    QButtonGroup *ProtectionGroup = nullptr;
    QRadioButton *ProtNoneBtn = nullptr;
    QRadioButton *ProtUp12Btn = nullptr;
    QRadioButton *ProtUp34Btn = nullptr;
    QRadioButton *ProtAllBtn = nullptr;
    QGroupBox *Config = nullptr;
    QLineEdit *ConfigEdit = nullptr;
    QToolButton *ConfigReadBtn = nullptr;
    QToolButton *ConfigWriteBtn = nullptr;
    QToolButton *RefreshBtn = nullptr;
    QGroupBox *CalibrationBox = nullptr;
    QLineEdit *CalEdit = nullptr;
    QToolButton *ReadCalBtn = nullptr;
    QToolButton *WriteCalBtn = nullptr;
    QToolButton *BuildCalBtn = nullptr;

    // "System" page.
    QWidget *System = nullptr;
    QGroupBox *SystemBx = nullptr;
    QCheckBox *WdtCbx = nullptr;
    QCheckBox *PutCbx = nullptr;
    QCheckBox *LvpCbx = nullptr;
    QCheckBox *BOutCbx = nullptr;
    QCheckBox *MClrCbx = nullptr;
    QCheckBox *DebugCbx = nullptr;
    QCheckBox *CpdCbx = nullptr;
    QCheckBox *WrtCbx = nullptr;
    QCheckBox *MpeenCbx = nullptr;

    // "Addresses" page.
    QWidget *Addresses = nullptr;
    QGroupBox *ProgMemBox = nullptr;
    QLineEdit *ProgStartEdit = nullptr;
    QLineEdit *ProgEndEdit = nullptr;
    QPushButton *MaxProgBtn = nullptr;
    QGroupBox *DataMemBox = nullptr;
    QLineEdit *DataStartEdit = nullptr;
    QLineEdit *DataEndEdit = nullptr;
    QPushButton *MaxDataBtn = nullptr;

    // Drives the waits of the chip operations.
    QTimer *DelayTimer = nullptr;

    // Beside the controls above: Detect by the device selector, "Erase before write" and the
    // checksum under the Programming page's buttons, the recent files on the Load button's
    // menu, and the status line at the foot of the window.
    QToolButton *DetectBtn = nullptr;
    QCheckBox *EraseBeforeWriteCbx = nullptr;
    QLabel *ChecksumLbl = nullptr;
    QMenu *RecentFilesMenu = nullptr;
    MainStatusBar *StatusBar = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    // A hex file dropped on the window loads as Load From File does.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    WriteErrorAnswer AskWriteErrorWithDetail(const QString &text, WriteErrorButtons buttons,
                                             const QString &detail);
    // A chip command's fixed failure text, with the reason under it when there is one.
    void ShowChipFailure(const QString &text, const QString &reason);

    void FormCreate();
    bool FormCloseQuery();
    void SetDialogDirectories(const QString &directory);
    void ShowFileInCaption(const QString &fileName);
    // The load after the chooser: caption, image, controls, then the report (a box, or the
    // status line for a quiet success).
    enum class LoadReport { Boxes, QuietSuccess };
    void LoadNamedFile(const QString &fileName, LoadReport report);
    // Before a file is read: each ticked memory of the image blank, as on an erased chip.
    void BlankTargets(const HexTargets &targets);
    // A file loaded or saved: remembered, watched, and its folder the choosers' start.
    void RememberFile(const QString &fileName);
    void FileChangedOnDisk(const QString &path);
    void FillRecentFilesMenu();
    void BuildFileExtras();
    // The checksum line, recomputed once after a burst of changes, and after chip work rather
    // than during it (MainChecksum.cpp).
    void ConnectChecksum();
    void ScheduleChecksum();
    void ShowChecksum();
    // Detect and "Erase before write" follow the selected device (DetectAndErase.cpp).
    void ShowDeviceExtras();
    void EraseBeforeWriteToggled(bool checked);
    HexTargets CheckedTargets() const;

    // Window construction, one page at a time (MainWindowLayout.cpp).
    void BuildWindow();
    QWidget *BuildToolbar();
    QWidget *BuildProgrammingPage();
    QWidget *BuildConfigurationPage();
    QWidget *BuildSystemPage();
    QWidget *BuildAddressesPage();
    void ConnectHandlers();
    // Shortcuts, page keys and the Tab order (MainWindowKeys.cpp).
    void SetKeyboardAccess();
    void AddPageKey(const QKeySequence &keys, int step);
    // The status line's port field, and the Connect button's hint: the port held, or that
    // none is.
    void ShowPortState();

    // Device-dependent control states (ConfigControlsBinding.cpp).
    void SetOscillatorList();
    void SetMethodButtons();
    void SetAddressRanges();
    void SetDataMemoryControls(bool allowEditorClose);
    void SetOptionControls();
    void SelectDeviceInSelector(const QString &deviceName);
    // Greys the program viewer's words past the selected device's highest address.
    void ShowProgramEndInViewer();
    // A memory-parity device needs a parity-capable module; a wrong or silent module ends
    // any operation that is waiting in the progress window.
    void CheckModuleAfterDeviceChange();

    // Chip work (OperationButtons.cpp). One conversation with the module at a time: while
    // an operation or a chip command runs, the others are refused.
    void ConnectChipHandlers();
    bool ModuleBusy() const;
    // While chip work runs, the controls it reads and every other way to the module or the
    // image are disabled; a handler reached anyway says on the status line that it must wait.
    void ShowChipWorkRunning(bool running);
    bool RefusedDuringChipWork(const QString &what);
    // The module's port is not open: a box says why and what to do; true means stop.
    bool RefusedForThePort();
    // A click handler that may wait in the event loop; a close of the main window that came
    // meanwhile takes effect when the last such handler has returned.
    void RunHandler(const std::function<void()> &handler);
    // The body with an engine over a copy of the selected device (a device picked meanwhile
    // takes effect at the next operation), the module marked busy.
    void RunWithEngine(const std::function<void(PicEngine &)> &body);
    // A command the user must confirm; true to go on.
    bool Confirmed(const QString &text);
    void RunOperation(ChipOperation operation);

    MemoryImage &m_image;
    Messages &m_messages;
    HexEditFilter *m_hexFilter = nullptr;
    DeviceRecord m_currentDevice;
    QString m_blankWordText = QStringLiteral("3FFF");
    QString m_openDialogDirectory;
    QString m_saveDialogDirectory;
    ModuleConnection m_module;
    RequestFlags m_requests;

    TOptionsDlg *m_optionsDlg = nullptr;
    TDataEditForm *m_dataEditForm = nullptr;
    TProgViewForm *m_progViewForm = nullptr;
    TAboutBox *m_aboutBox = nullptr;
    TPortDlg *m_portDlg = nullptr;

    TIDCodeDlg *m_idCodeDlg = nullptr;
    TProcessForm *m_processForm = nullptr;
    TWaitingForm *m_waitingForm = nullptr;
    std::unique_ptr<ReadySound> m_ownSound;
    ReadySound *m_readySound = nullptr;
    std::unique_ptr<OperationDriver> m_driver;
    int m_handlerDepth = 0;
    bool m_closeWhenIdle = false; // the user closed the main window during chip work

    std::unique_ptr<RecentFiles> m_recentFiles;
    FileWatch *m_fileWatch = nullptr;
    QString m_fileFolder; // of the file last loaded or saved; empty before the first
    bool m_reloadAtOnce = false;
    QTimer *m_checksumTimer = nullptr;
};
