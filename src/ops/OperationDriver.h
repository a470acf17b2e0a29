#pragma once

#include "engine/TargetSequence.h"
#include "ops/SequenceSummary.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class Messages;
class PicEngine;
class QWidget;
class ReadySound;
class TProcessForm;

// Read From PIC, Write To PIC, Verify PIC to Buffer and Blanc Check: opens the progress
// window, waits for Start or Close, runs the ticked targets on each Start and reports every
// result in a box, until the user closes the window. The next chip is programmed by pressing
// Start again, without reopening the window.
class OperationDriver : public QObject
{
    Q_OBJECT
public:
    // What the driver asks the main window for, at the moment it needs it.
    struct Hooks
    {
        // True while something talks to the module: a second conversation would garble both.
        std::function<bool()> moduleBusy;
        std::function<bool()> noTargetSelected;
        std::function<bool()> incorrectModule;
        std::function<bool(ChipTarget)> ticked;
        std::function<std::uint16_t()> configWordFromControls;
        std::function<void(std::uint16_t)> configWordRead;
        // Runs the body with an engine over the selected device, the module marked busy.
        std::function<void(const std::function<void(PicEngine &)> &)> withEngine;
        // The user closed the main window: the running target ends as with Close, nothing
        // else runs, and the wait ends so that the program can quit.
        std::function<bool()> programClosing;
        // Write, Verify and Blank Check leave the factory calibration word alone.
        std::function<bool()> leaveOutCalibration;
        // Write erases the chip first and then writes and verifies ("Erase before write").
        std::function<bool()> eraseBeforeWrite;
        // Why no chip work can reach the module now (its port is not open), or empty.
        std::function<QString()> portNotOpen;
        // The one box for a module that stopped answering: it names the port and what to try.
        std::function<QString()> noAnswerText;
        // False: a success (a verify without errors, a blank chip) is told quietly
        // (QuietSuccess) instead of in a box.
        std::function<bool()> confirmSuccesses;
        // After each Start: every target's report and the time the run took, for the
        // production log. May be empty.
        std::function<void(ChipOperation, const std::vector<TargetReport> &, qint64 elapsedMs)>
            sequenceRun;
    };

    OperationDriver(TProcessForm &form, const QWidget &mainWindow, Messages &messages,
                    ReadySound &sound, Hooks hooks);

    // The click handlers of the four buttons; each returns when its wait has ended.
    void Run(ChipOperation operation);
    // The sound the driver plays (tests and the program replace it).
    void SetSound(ReadySound &sound) { m_sound = &sound; }

    static QString Caption(ChipOperation operation);
    // Whether the last Start put on the chip (or found there) what was asked: false after a
    // failed target, and after words skipped or a write aborted in the write error box.
    bool LastRunSucceeded() const { return !m_summary.Failed(); }
    QString LastSummary() const { return m_lastSummary; }

signals:
    // One Start has run the ticked targets and the window is Ready again.
    void SequenceFinished();
    // The same moment, with the verdict and the summary line, for the status line and the log.
    void RunFinished(ChipOperation operation, bool succeeded, const QString &summary);
    // A success the user chose to have told without a box.
    void QuietSuccess(const QString &text);

private:
    void WaitForStartOrClose(ChipOperation operation);
    void RunSequence(ChipOperation operation);
    void Report(const TargetReport &report);
    // The port is not open: says so in a box; true means nothing may be sent.
    bool RefusedForThePort();
    QString NoAnswerText() const;

    TProcessForm &m_form;
    const QWidget &m_mainWindow;
    Messages &m_messages;
    ReadySound *m_sound;
    Hooks m_hooks;
    SequenceSummary m_summary; // of the last Start, shown until the next
    QString m_lastSummary;
    // The module stopped answering during this Start: the later targets are not run.
    bool m_moduleSilent = false;
    std::vector<TargetReport> m_reports; // of the Start running
};
