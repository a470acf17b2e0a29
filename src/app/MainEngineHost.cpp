// The main window as the chip engine's host: the user's method and address fields, the
// progress window, the waits and the write error box.
#include "Tolm32U.h"
#include "WaitForm.h"
#include "ops/EventWaits.h"
#include "ops/Messages.h"
#include "ops/ProcDlg.h"
#include "ops/TargetVerdict.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
// A paused word loop looks at the flags again after this long even without a click.
constexpr int kPausedPassMs = 50;
} // namespace

bool TTolmMain::ParallelSelected() const
{
    return ParallelRBtn->isChecked();
}

void TTolmMain::SetParallelSelected(bool parallel)
{
    (parallel ? ParallelRBtn : SerialRBtn)->setChecked(true);
}

// The fields as shown, blanks included: "A_00" must fail to convert rather than mean 0A00.
QString TTolmMain::ProgStartText() const
{
    return ProgStartEdit->displayText();
}

QString TTolmMain::ProgEndText() const
{
    return ProgEndEdit->displayText();
}

QString TTolmMain::DataStartText() const
{
    return DataStartEdit->displayText();
}

QString TTolmMain::DataEndText() const
{
    return DataEndEdit->displayText();
}

void TTolmMain::SetStatus(const QString &text)
{
    if (m_processForm)
        m_processForm->SetStatus(text);
}

void TTolmMain::SetProgressStart(std::uint16_t address, bool dataAddress)
{
    if (m_processForm)
        m_processForm->SetProgressStart(address, dataAddress);
}

void TTolmMain::SetProgressMax(int maximum)
{
    if (m_processForm)
        m_processForm->SetProgressMax(maximum);
}

void TTolmMain::StepProgress()
{
    if (m_processForm)
        m_processForm->StepProgress();
}

void TTolmMain::SetStartCaption(const QString &caption)
{
    if (m_processForm)
        m_processForm->StartBtn->setText(caption);
}

bool TTolmMain::PauseRequested() const
{
    return m_requests.PauseRequested;
}

bool TTolmMain::CloseRequested() const
{
    return m_requests.CloseRequested;
}

void TTolmMain::ProcessEvents()
{
    QApplication::processEvents();
}

void TTolmMain::WaitWhilePaused()
{
    if (m_processForm)
        WaitForSignal(m_processForm, &TProcessForm::RequestChanged, kPausedPassMs);
    else
        SleepInEventLoop(kPausedPassMs);
}

void TTolmMain::Delay(int ms)
{
    SleepInEventLoop(ms);
}

WriteErrorAnswer TTolmMain::AskWriteError(const QString &text, WriteErrorButtons buttons)
{
    return AskWriteErrorWithDetail(text, buttons, QString());
}

WriteErrorAnswer TTolmMain::AskWordWriteError(const QString &text, WriteErrorButtons buttons,
                                              const WordNotWritten &word, bool dataMemory)
{
    return AskWriteErrorWithDetail(
        text, buttons, WriteErrorDetail(word, dataMemory, m_currentDevice, CalEdit->text()));
}

WriteErrorAnswer TTolmMain::AskWriteErrorWithDetail(const QString &text, WriteErrorButtons buttons,
                                                    const QString &detail)
{
    if (buttons == WriteErrorButtons::OkCancel)
        return m_messages.AskOkCancelWithDetail(text, detail) == Messages::Answer::Ok
                   ? WriteErrorAnswer::Ok
                   : WriteErrorAnswer::Cancel;
    switch (m_messages.AskAbortRetryIgnoreWithDetail(text, detail)) {
    case Messages::Answer::Retry:
        return WriteErrorAnswer::Retry;
    case Messages::Answer::Ignore:
        return WriteErrorAnswer::Ignore;
    default:
        return WriteErrorAnswer::Abort; // Esc or the box's close button: stop, the safe answer
    }
}

void TTolmMain::ShowWaiting(bool visible)
{
    if (!m_waitingForm)
        return;
    if (visible)
        m_waitingForm->ShowNow();
    else
        m_waitingForm->hide();
}
