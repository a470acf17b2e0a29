#include "ops/OperationDriver.h"

#include "ops/EraseBeforeWrite.h"
#include "ops/EventWaits.h"
#include "ops/Messages.h"
#include "ops/ProcDlg.h"
#include "ops/ReadySound.h"
#include "ops/TargetVerdict.h"
#include "texts/FailureTexts.h"
#include "texts/TargetTexts.h"

#include <QElapsedTimer>
#include <QLabel>

namespace {
// How long a wait sleeps before it looks at the flags again even without a click: a flag
// raised from outside the progress window (a failed module check) is seen within this time.
constexpr int kFlagPollMs = 250;
} // namespace

OperationDriver::OperationDriver(TProcessForm &form, const QWidget &mainWindow, Messages &messages,
                                 ReadySound &sound, Hooks hooks)
    : m_form(form), m_mainWindow(mainWindow), m_messages(messages), m_sound(&sound),
      m_hooks(std::move(hooks))
{
    // A pause, or a box waiting for the user, is no time the run took.
    connect(&m_form, &TProcessForm::ClocksHeld, this,
            [this](bool held) { held ? m_summary.Hold() : m_summary.Release(); });
}

QString OperationDriver::NoAnswerText() const
{
    return m_hooks.noAnswerText ? m_hooks.noAnswerText() : QString();
}

QString OperationDriver::Caption(ChipOperation operation)
{
    switch (operation) {
    case ChipOperation::Read:
        return QStringLiteral("Read from PIC");
    case ChipOperation::Write:
        return QStringLiteral("Write to PIC");
    case ChipOperation::Verify:
        return QStringLiteral("Verify PIC");
    case ChipOperation::BlankCheck:
        return QStringLiteral("Blank Check PIC");
    }
    return {};
}

void OperationDriver::Run(ChipOperation operation)
{
    // Checked first: the module check below talks to the module, which must not happen in
    // the middle of another operation or chip command.
    if (m_hooks.moduleBusy())
        return;
    if (m_hooks.noTargetSelected())
        return;
    // Before the module check, which would only find no module behind a closed port.
    if (RefusedForThePort())
        return;
    if (m_hooks.incorrectModule())
        return;
    RequestFlags &flags = m_form.Flags();
    if (flags.ProcessFormUnplaced) {
        m_form.PlaceBelow(m_mainWindow);
        flags.ProcessFormUnplaced = false;
    }
    if (m_form.isVisible() && m_form.StatusLbl->text() != TProcessForm::kReadyText)
        return;

    m_form.setWindowTitle(Caption(operation));
    m_form.BeReady();
    m_form.show();
    m_form.raise();
    m_form.activateWindow();
    WaitForStartOrClose(operation);
    m_form.hide();
}

void OperationDriver::WaitForStartOrClose(ChipOperation operation)
{
    RequestFlags &flags = m_form.Flags();
    while (!flags.CloseRequested && !m_hooks.programClosing()) {
        if (flags.StartRequested) {
            QElapsedTimer clock;
            clock.start();
            RunSequence(operation);
            if (m_hooks.sequenceRun)
                m_hooks.sequenceRun(operation, m_reports, clock.elapsed());
            if (m_hooks.programClosing())
                return;
            const bool succeeded = !m_summary.Failed();
            // Read and Write sound once at the end; Verify and Blank Check did with each box.
            if (operation == ChipOperation::Read || operation == ChipOperation::Write)
                succeeded ? m_sound->Play() : m_sound->PlayFailure();
            m_lastSummary = m_summary.Text();
            m_form.BeReady();
            m_form.ShowSummary(m_lastSummary, !succeeded);
            emit SequenceFinished();
            emit RunFinished(operation, succeeded, m_lastSummary);
            continue;
        }
        if (!WaitForSignal(&m_form, &TProcessForm::RequestChanged, kFlagPollMs))
            return; // the application is ending
    }
}

bool OperationDriver::RefusedForThePort()
{
    const QString why = m_hooks.portNotOpen ? m_hooks.portNotOpen() : QString();
    if (why.isEmpty())
        return false;
    m_messages.Plain(why);
    return true;
}

void OperationDriver::RunSequence(ChipOperation operation)
{
    const bool eraseFirst =
        operation == ChipOperation::Write && m_hooks.eraseBeforeWrite && m_hooks.eraseBeforeWrite();
    m_summary.Begin(operation, eraseFirst);
    m_reports.clear();
    m_moduleSilent = false;
    // The port may have been released while the window waited for Start.
    if (RefusedForThePort()) {
        m_summary.AddFailure(QStringLiteral("nothing was sent to the chip"), m_hooks.portNotOpen());
        return;
    }
    TargetSequenceHooks hooks;
    hooks.ticked = [this](ChipTarget target) {
        return !m_moduleSilent && !m_hooks.programClosing() && m_hooks.ticked(target);
    };
    hooks.configWordFromControls = m_hooks.configWordFromControls;
    hooks.configWordRead = m_hooks.configWordRead;
    hooks.leaveOutCalibration = m_hooks.leaveOutCalibration && m_hooks.leaveOutCalibration();
    hooks.report = [this](const TargetReport &report) { Report(report); };
    m_hooks.withEngine([&](PicEngine &engine) {
        if (eraseFirst)
            RunEraseBeforeWrite(engine, hooks, m_messages, m_summary, NoAnswerText());
        else
            RunTargetSequence(engine, operation, hooks);
    });
}

void OperationDriver::Report(const TargetReport &report)
{
    const QString reason = TargetResultReason(report);
    m_summary.Add(report, reason);
    m_reports.push_back(report);
    const QString message = TargetMessage(report);
    // A program being closed has been asked to stop: the stop needs no box of its own.
    if (message.isEmpty() || (report.stopped && m_hooks.programClosing()))
        return;
    const HeldClocks box(&m_form);
    if (ModuleStoppedAnswering(report)) {
        // One box for the first: every later target would only say the same, so none runs.
        m_moduleSilent = true;
        m_messages.PlainWithDetail(NoAnswerText(), AsSentence(reason));
        return;
    }
    if (report.soundBeforeMessage)
        m_sound->Play();
    if (!TargetFailed(report) && m_hooks.confirmSuccesses && !m_hooks.confirmSuccesses()) {
        emit QuietSuccess(message);
        return;
    }
    // An image cell that is not a number is the conversion error users know from every other
    // field; the rest of the sequence has not run.
    if (report.endsSequence && !report.stopped) {
        m_messages.Error(message);
        return;
    }
    // The box keeps its fixed text; what failed and where goes under it.
    if (reason.isEmpty())
        m_messages.Plain(message);
    else
        m_messages.PlainWithDetail(message, reason);
}
