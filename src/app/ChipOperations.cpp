#include "ChipOperations.h"

#include "ChipRequest.h"
#include "ConfigurationPart.h"
#include "ControlFactory.h"
#include "ModuleConnection.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/MemoryImage.h"
#include "engine/PicEngine.h"
#include "ops/EraseBeforeWrite.h"
#include "ops/Messages.h"
#include "ops/OperationDriver.h"
#include "ops/ProcDlg.h"
#include "ops/ReadySound.h"
#include "ops/TargetVerdict.h"
#include "texts/FailureTexts.h"

#include <QCheckBox>
#include <QKeySequence>
#include <QToolButton>

ChipOperations::ChipOperations(const Parts &parts, const QWidget &window, QObject *parent)
    : QObject(parent), m_parts(parts), m_window(window), m_writeWarnings(parts.messages)
{
    setObjectName(QStringLiteral("ChipOperations"));
    BuildControls();
}

ChipOperations::~ChipOperations() = default;

void ChipOperations::BuildControls()
{
    ChipReadBtn =
        GlyphButton("ChipReadBtn", QStringLiteral("Read From PIC"), QStringLiteral("chip-read"));
    ChipWriteBtn =
        GlyphButton("ChipWriteBtn", QStringLiteral("Write To PIC"), QStringLiteral("chip-write"));
    VerifyBtn =
        GlyphButton("VerifyBtn", QStringLiteral("Verify PIC to Buffer"), QStringLiteral("verify"));
    BlancCheckBtn =
        GlyphButton("BlancCheckBtn", QStringLiteral("Blanc Check"), QStringLiteral("blank-check"));
    connect(ChipReadBtn, &QToolButton::clicked, this, &ChipOperations::ChipReadBtnClick);
    connect(ChipWriteBtn, &QToolButton::clicked, this, &ChipOperations::ChipWriteBtnClick);
    connect(VerifyBtn, &QToolButton::clicked, this, &ChipOperations::VerifyBtnClick);
    connect(BlancCheckBtn, &QToolButton::clicked, this, &ChipOperations::BlancCheckBtnClick);

    EraseBeforeWriteCbx = CheckBox("EraseBeforeWriteCbx", QStringLiteral("&Erase before write"));
    EraseBeforeWriteCbx->setToolTip(
        QStringLiteral("Flash parts: Write erases the chip, writes only the words that are not "
                       "blank, then verifies"));
    // "clicked" is the user's tick only; a device change clears the box without a refusal.
    connect(EraseBeforeWriteCbx, &QCheckBox::clicked, this,
            &ChipOperations::EraseBeforeWriteToggled);

    // Off by default: the factory's value belongs to this chip, a file's to another one.
    WriteCalCbx = CheckBox("WriteCalCbx", QStringLiteral("Write calibration word"));
    WriteCalCbx->setToolTip(QStringLiteral(
        "Write, Verify and Blank Check also take the calibration word at the top of program "
        "memory. Leave off to keep the chip's factory value: EPROM bits once cleared cannot "
        "be set again."));
}

QList<QWidget *> ChipOperations::OperationButtons() const
{
    return {ChipReadBtn, ChipWriteBtn, VerifyBtn, BlancCheckBtn};
}

QWidget *ChipOperations::EraseBeforeWriteBox() const
{
    return EraseBeforeWriteCbx;
}

QWidget *ChipOperations::WriteCalibrationBox() const
{
    return WriteCalCbx;
}

void ChipOperations::SetWindows(TProcessForm *processForm, TWaitingForm *waitingForm)
{
    m_processForm = processForm;
    m_waitingForm = waitingForm;
    if (!m_readySound) {
        m_ownSound = std::make_unique<WaveReadySound>();
        m_readySound = m_ownSound.get();
    }
    if (m_processForm)
        CreateDriver();
}

void ChipOperations::CreateDriver()
{
    MemoryImage &image = m_parts.image;
    OperationDriver::Hooks hooks;
    hooks.moduleBusy = [this] { return Busy(); };
    hooks.noTargetSelected = [this] { return m_parts.request.NoTargetSelected(); };
    hooks.incorrectModule = [this] { return m_parts.module.IncorrectModule(m_parts.device); };
    hooks.ticked = [this](ChipTarget target) { return m_parts.request.Ticked(target); };
    hooks.configWordFromControls = [this] { return m_parts.config.ControlsToConfig(); };
    hooks.configWordRead = [this, &image](std::uint16_t word) {
        image.ConfigWord = word;
        m_parts.config.ConfigToControls();
        m_parts.config.ShowDirectValue(word);
        emit ConfigurationRead();
    };
    hooks.withEngine = [this](const std::function<void(PicEngine &)> &body) {
        RunWithEngine(body);
    };
    hooks.programClosing = [this] { return m_closeWhenIdle; };
    hooks.leaveOutCalibration = [this] { return !WriteCalCbx->isChecked(); };
    hooks.eraseBeforeWrite = [this] { return EraseBeforeWriteCbx->isChecked(); };
    hooks.portNotOpen = [this] { return m_parts.module.PortNotOpenText(); };
    hooks.noAnswerText = [this] { return m_parts.module.NoAnswerText(); };
    hooks.confirmSuccesses = [this] { return m_confirmSuccesses; };
    hooks.sequenceRun = [this](ChipOperation operation, const std::vector<TargetReport> &reports,
                               qint64 elapsedMs) {
        emit SequenceRun(operation, reports, elapsedMs);
    };
    m_driver = std::make_unique<OperationDriver>(*m_processForm, m_window, m_parts.messages,
                                                 *m_readySound, std::move(hooks));
    connect(m_driver.get(), &OperationDriver::RunFinished, this, &ChipOperations::RunFinished);
    connect(m_driver.get(), &OperationDriver::QuietSuccess, this, &ChipOperations::StatusText);
}

void ChipOperations::SetReadySound(ReadySound &sound)
{
    m_readySound = &sound;
    if (m_driver)
        m_driver->SetSound(sound);
}

void ChipOperations::AdaptToDevice()
{
    // An EPROM part cannot be erased: a tick from a flash part does not carry over to it.
    if (!HasBulkErase(m_parts.device))
        EraseBeforeWriteCbx->setChecked(false);
}

void ChipOperations::EraseBeforeWriteToggled(bool checked)
{
    if (!checked || HasBulkErase(m_parts.device))
        return;
    EraseBeforeWriteCbx->setChecked(false);
    m_parts.messages.Warning(
        EraseBeforeWriteRefusalText(EraseThenWriteRefusal::NotErasable, m_parts.device));
}

bool ChipOperations::Busy() const
{
    return m_parts.module.OperationInProgress;
}

void ChipOperations::RunHandler(const std::function<void()> &handler)
{
    ++m_handlerDepth;
    handler();
    --m_handlerDepth;
    // The program ends only once no handler is left on the stack: each of them still holds
    // the windows it works with.
    if (m_handlerDepth == 0 && m_closeWhenIdle) {
        m_closeWhenIdle = false;
        emit WorkEndedForClose();
    }
}

bool ChipOperations::CloseWhenIdle()
{
    if (m_handlerDepth == 0)
        return false;
    // The running method finishes its word and powers the chip off as with Close, nothing
    // further runs, and the program ends when the work has returned (RunHandler).
    m_closeWhenIdle = true;
    if (m_processForm)
        m_processForm->CloseBtnClick();
    return true;
}

void ChipOperations::RunWithEngine(const std::function<void(PicEngine &)> &body)
{
    RunWithEngineFor(m_parts.device, body);
}

void ChipOperations::RunWithEngineFor(const DeviceRecord &selected,
                                      const std::function<void(PicEngine &)> &body)
{
    const DeviceRecord device = selected;
    ModuleConnection &module = m_parts.module;
    PicEngine engine(module.Module(), *this, m_parts.image, device);
    module.OperationInProgress = true;
    module.MarkExchangesStart();
    emit WorkRunning(true);
    body(engine);
    module.OperationInProgress = false;
    module.NoteWorkEnded();
    emit WorkRunning(false);
}

bool ChipOperations::RefusedForThePort()
{
    const QString why = m_parts.module.PortNotOpenText();
    if (why.isEmpty())
        return false;
    m_parts.messages.Plain(why);
    return true;
}

void ChipOperations::ShowChipFailure(const QString &text, const ChipFailure &failure,
                                     const QString &why)
{
    Messages &messages = m_parts.messages;
    const QString reason = why.isEmpty() ? FailureReason(failure) : why;
    // A module that stopped answering is no fault of the chip: the box names the port.
    if (ModuleSilent(failure))
        messages.PlainWithDetail(m_parts.module.NoAnswerText(), AsSentence(reason));
    // The box keeps its fixed text; why it failed goes under it when the engine knows.
    else if (reason.isEmpty())
        messages.Plain(text);
    else
        messages.PlainWithDetail(text, reason);
}

void ChipOperations::RunOperation(ChipOperation operation)
{
    if (m_driver)
        RunHandler([&] { m_driver->Run(operation); });
}

void ChipOperations::ChipReadBtnClick()
{
    RunOperation(ChipOperation::Read);
}

void ChipOperations::ChipWriteBtnClick()
{
    // Said before the progress window comes, and only when there is something to write.
    const ChipRequest &request = m_parts.request;
    const bool ticked =
        request.Ticked(ChipTarget::ProgramMemory) || request.Ticked(ChipTarget::DataMemory) ||
        request.Ticked(ChipTarget::IdCode) || request.Ticked(ChipTarget::ConfigWord);
    if (Busy() || !ticked) {
        RunOperation(ChipOperation::Write); // which says why nothing runs
        return;
    }
    m_writeWarnings.BeforeWrite(m_parts.device);
    if (request.Ticked(ChipTarget::ConfigWord) &&
        !m_writeWarnings.ConfigWriteAllowed(m_parts.device, m_parts.config.WordFromControls()))
        return;
    RunOperation(ChipOperation::Write);
}

void ChipOperations::VerifyBtnClick()
{
    RunOperation(ChipOperation::Verify);
}

void ChipOperations::BlancCheckBtnClick()
{
    RunOperation(ChipOperation::BlankCheck);
}
