#pragma once

#include "WriteWarnings.h"
#include "engine/ChipResult.h"
#include "engine/TargetSequence.h"
#include "texts/TextEngineHost.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class ChipRequest;
class ConfigurationPart;
class Messages;
class MemoryImage;
class ModuleConnection;
class OperationDriver;
class PicEngine;
class QCheckBox;
class QToolButton;
class QWidget;
class ReadySound;
class TProcessForm;
class TWaitingForm;
struct DeviceRecord;

// Read, Write, Verify and Blank Check, and the frame every piece of chip work runs in: one
// conversation with the module at a time, an engine over the selected device, and a close of
// the main window that waits until the chip is powered off. It is the engine's host: the
// method and the address fields come from the request, the progress and the request flags
// from the progress window, the waits from the event loop.
class ChipOperations : public QObject, public TextEngineHost
{
    Q_OBJECT
public:
    // What the operations read and change; all of it outlives this part.
    struct Parts
    {
        MemoryImage &image;
        const DeviceRecord &device;
        Messages &messages;
        ModuleConnection &module;
        ChipRequest &request;
        ConfigurationPart &config;
    };
    ChipOperations(const Parts &parts, const QWidget &window, QObject *parent = nullptr);
    ~ChipOperations() override;

    // For the Programming and Configuration pages.
    QList<QWidget *> OperationButtons() const;
    QWidget *EraseBeforeWriteBox() const;
    QWidget *WriteCalibrationBox() const;

    // The windows the operations show, created after the main window.
    void SetWindows(TProcessForm *processForm, TWaitingForm *waitingForm);
    OperationDriver *Driver() { return m_driver.get(); }
    // The chime at the end of an operation; by default "Ready.wav".
    void SetReadySound(ReadySound &sound);

    // Whether a success is told in a box (the default) or quietly (Options).
    void SetConfirmSuccesses(bool confirm) { m_confirmSuccesses = confirm; }

    // "Erase before write" follows the device: an EPROM part cannot be erased.
    void AdaptToDevice();

    // The words before the chip is written, shared with the other chip commands.
    WriteWarnings &Warnings() { return m_writeWarnings; }

    // True while something talks to the module: a second conversation would garble both.
    bool Busy() const;
    // A click handler that may wait in the event loop; a close of the main window that came
    // meanwhile takes effect when the last such handler has returned (WorkEndedForClose).
    void RunHandler(const std::function<void()> &handler);
    // The body with an engine over a copy of the selected device (a device picked meanwhile
    // takes effect at the next operation), the module marked busy.
    void RunWithEngine(const std::function<void(PicEngine &)> &body);
    // The same with an engine over another part (Detect reads the device ID as a part that has
    // one, whatever part is selected).
    void RunWithEngineFor(const DeviceRecord &device, const std::function<void(PicEngine &)> &body);
    // The module's port is not open: a box says why and what to do; true means stop.
    bool RefusedForThePort();
    // A chip command's fixed failure text, with why under it (`reason`, by default the
    // failure's own words); a module that stopped answering gets the one box that names the
    // port instead.
    void ShowChipFailure(const QString &text, const ChipFailure &failure,
                         const QString &reason = QString());
    // The user closed the main window: true when chip work is under way, which then ends as
    // with Close and emits WorkEndedForClose once the chip is powered off.
    bool CloseWhenIdle();

    // The engine's host (ChipEngineHost.cpp).
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

public slots:
    void ChipReadBtnClick();
    void ChipWriteBtnClick();
    void VerifyBtnClick();
    void BlancCheckBtnClick();

signals:
    // Chip work starts or ends: the window locks what the work reads.
    void WorkRunning(bool running);
    // A Start has run its targets: the verdict and the summary line.
    void RunFinished(ChipOperation operation, bool succeeded, const QString &summary);
    // After each Start, before RunFinished: every target's report and the time the run took,
    // for the production log.
    void SequenceRun(ChipOperation operation, const std::vector<TargetReport> &reports,
                     qint64 elapsedMs);
    // Quiet news for the status line (a success the user wants without a box).
    void StatusText(const QString &text);
    // A Read brought the configuration word: the Programming page comes to the front.
    void ConfigurationRead();
    // The last handler has returned after the main window was closed during chip work.
    void WorkEndedForClose();

private:
    void BuildControls();
    void CreateDriver();
    void RunOperation(ChipOperation operation);
    void EraseBeforeWriteToggled(bool checked);
    WriteErrorAnswer AskWriteErrorWithDetail(const QString &text, WriteErrorButtons buttons,
                                             const QString &detail);

    Parts m_parts;
    const QWidget &m_window;
    WriteWarnings m_writeWarnings;
    TProcessForm *m_processForm = nullptr;
    TWaitingForm *m_waitingForm = nullptr;
    std::unique_ptr<ReadySound> m_ownSound;
    ReadySound *m_readySound = nullptr;
    std::unique_ptr<OperationDriver> m_driver;
    int m_handlerDepth = 0;
    bool m_closeWhenIdle = false;
    bool m_confirmSuccesses = true;

    QToolButton *ChipReadBtn = nullptr;
    QToolButton *ChipWriteBtn = nullptr;
    QToolButton *VerifyBtn = nullptr;
    QToolButton *BlancCheckBtn = nullptr;
    QCheckBox *EraseBeforeWriteCbx = nullptr;
    QCheckBox *WriteCalCbx = nullptr; // Write, Verify and Blank Check take the calibration word
};
