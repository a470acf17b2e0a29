// The chip operations as the engine's host: the user's method and address fields, the
// progress window, the waits and the write error box.
#include "ChipOperations.h"
#include "ChipRequest.h"
#include "ConfigurationPart.h"
#include "WaitForm.h"
#include "ops/EventWaits.h"
#include "ops/Messages.h"
#include "ops/ProcDlg.h"
#include "ops/TargetVerdict.h"

#include <QApplication>
#include <QPushButton>

namespace {
// A paused word loop looks at the flags again after this long even without a click.
constexpr int kPausedPassMs = 50;
} // namespace

bool ChipOperations::ParallelSelected() const
{
    return m_parts.request.ParallelSelected();
}

void ChipOperations::SetParallelSelected(bool parallel)
{
    m_parts.request.SetParallelSelected(parallel);
}

// The fields as shown, blanks included: "A_00" must fail to convert rather than mean 0A00.
QString ChipOperations::ProgStartText() const
{
    return m_parts.request.AddressTexts().ProgStart;
}

QString ChipOperations::ProgEndText() const
{
    return m_parts.request.AddressTexts().ProgEnd;
}

QString ChipOperations::DataStartText() const
{
    return m_parts.request.AddressTexts().DataStart;
}

QString ChipOperations::DataEndText() const
{
    return m_parts.request.AddressTexts().DataEnd;
}

void ChipOperations::SetStatus(const QString &text)
{
    if (m_processForm)
        m_processForm->SetStatus(text);
}

void ChipOperations::SetProgressStart(std::uint16_t address, bool dataAddress)
{
    if (m_processForm)
        m_processForm->SetProgressStart(address, dataAddress);
}

void ChipOperations::SetProgressMax(int maximum)
{
    if (m_processForm)
        m_processForm->SetProgressMax(maximum);
}

void ChipOperations::StepProgress()
{
    if (m_processForm)
        m_processForm->StepProgress();
}

void ChipOperations::SetStartCaption(const QString &caption)
{
    if (m_processForm)
        m_processForm->StartBtn->setText(caption);
}

bool ChipOperations::PauseRequested() const
{
    return m_processForm && m_processForm->Flags().PauseRequested;
}

bool ChipOperations::CloseRequested() const
{
    return m_processForm && m_processForm->Flags().CloseRequested;
}

void ChipOperations::ProcessEvents()
{
    QApplication::processEvents();
}

void ChipOperations::WaitWhilePaused()
{
    if (m_processForm)
        WaitForSignal(m_processForm, &TProcessForm::RequestChanged, kPausedPassMs);
    else
        SleepInEventLoop(kPausedPassMs);
}

void ChipOperations::Delay(int ms)
{
    SleepInEventLoop(ms);
}

WriteErrorAnswer ChipOperations::AskWriteError(const QString &text, WriteErrorButtons buttons)
{
    return AskWriteErrorWithDetail(text, buttons, QString());
}

WriteErrorAnswer ChipOperations::AskWordWriteError(const QString &text, WriteErrorButtons buttons,
                                                   const WordNotWritten &word, bool dataMemory)
{
    return AskWriteErrorWithDetail(
        text, buttons,
        WriteErrorDetail(word, dataMemory, m_parts.device, m_parts.config.CalibrationText()));
}

WriteErrorAnswer ChipOperations::AskWriteErrorWithDetail(const QString &text,
                                                         WriteErrorButtons buttons,
                                                         const QString &detail)
{
    Messages &messages = m_parts.messages;
    const HeldClocks box(m_processForm);
    if (buttons == WriteErrorButtons::OkCancel)
        return messages.AskOkCancelWithDetail(text, detail) == Messages::Answer::Ok
                   ? WriteErrorAnswer::Ok
                   : WriteErrorAnswer::Cancel;
    switch (messages.AskAbortRetryIgnoreWithDetail(text, detail)) {
    case Messages::Answer::Retry:
        return WriteErrorAnswer::Retry;
    case Messages::Answer::Ignore:
        return WriteErrorAnswer::Ignore;
    default:
        return WriteErrorAnswer::Abort; // Esc or the box's close button: stop, the safe answer
    }
}

void ChipOperations::ShowWaiting(bool visible)
{
    if (!m_waitingForm)
        return;
    if (visible)
        m_waitingForm->ShowNow();
    else
        m_waitingForm->hide();
}
