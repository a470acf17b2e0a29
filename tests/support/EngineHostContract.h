#pragma once

#include "device/HexText.h"
#include "engine/EngineHost.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <functional>

// What every EngineHost must do, whatever front end it belongs to (the main window, the
// terminal, a test double), so that the engine behaves the same behind each of them. A front
// end's test supplies the host and the ways a user would act on it, then expects no failures:
//
//     EngineHostUnderTest t{host, raiseFlags, prepareAnswer, typeProgStart};
//     EXPECT_TRUE(CheckEngineHostContract(t).isEmpty());
struct EngineHostUnderTest
{
    EngineHost &host;
    // Sets the pause and close requests as the user (or a signal) would.
    std::function<void(bool pause, bool close)> raiseFlags;
    // The answer the user gives to the next write error box; empty when the answer is fixed
    // before the run (a terminal's option).
    std::function<void(WriteErrorAnswer)> prepareAnswer;
    // Puts a start address with an unfilled position into the program start field; empty when
    // the front end has no such field (the address then comes from an option).
    std::function<void()> typeHalfAddress;
    // A terminal has nobody to press Stop: it never pauses.
    bool canPause = true;
};

inline QStringList CheckEngineHostContract(EngineHostUnderTest &t)
{
    QStringList failures;
    const auto expect = [&](bool ok, const QString &what) {
        if (!ok) {
            failures << what;
        }
    };
    EngineHost &h = t.host;

    for (const bool parallel : {false, true}) {
        h.SetParallelSelected(parallel);
        expect(h.ParallelSelected() == parallel, "the method buttons keep the method set");
    }

    for (const auto &[pause, close] :
         {std::pair{true, false}, std::pair{false, true}, std::pair{false, false}}) {
        if (pause && !t.canPause) {
            continue;
        }
        t.raiseFlags(pause, close);
        expect(
            h.PauseRequested() == pause && h.CloseRequested() == close,
            QStringLiteral("flags read back as raised (pause %1, close %2)").arg(pause).arg(close));
    }

    QElapsedTimer timer;
    timer.start();
    h.Delay(15);
    expect(timer.elapsed() >= 15, "Delay waits at least the given time");

    t.raiseFlags(t.canPause, false);
    h.WaitWhilePaused(); // must return, so the loop can look at the flags again
    t.raiseFlags(false, false);

    const struct
    {
        WriteErrorButtons buttons;
        WriteErrorAnswer answer;
    } answers[] = {{WriteErrorButtons::AbortRetryIgnore, WriteErrorAnswer::Retry},
                   {WriteErrorButtons::AbortRetryIgnore, WriteErrorAnswer::Ignore},
                   {WriteErrorButtons::AbortRetryIgnore, WriteErrorAnswer::Abort},
                   {WriteErrorButtons::OkCancel, WriteErrorAnswer::Ok},
                   {WriteErrorButtons::OkCancel, WriteErrorAnswer::Cancel}};
    for (const auto &a : answers) {
        if (!t.prepareAnswer) {
            break;
        }
        t.prepareAnswer(a.answer);
        expect(h.AskWordNotWritten({0x0002, 0x1234, std::nullopt}, false, a.buttons) == a.answer,
               QStringLiteral("the write error box gives the user's answer %1")
                   .arg(static_cast<int>(a.answer)));
    }

    if (t.typeHalfAddress) {
        t.typeHalfAddress();
        expect(!ParseHexText(h.ProgStartText()).has_value(),
               "a half-typed start address does not convert: " + h.ProgStartText());
    }

    // The progress calls take any sequence without complaint.
    h.ShowActivity({ChipOperation::Write, ChipTarget::ProgramMemory});
    h.SetProgressMax(0xFFFF);
    h.StepProgress();
    h.ShowPaused();
    h.ShowWaiting(true);
    h.ShowWaiting(false);
    h.ProcessEvents();
    return failures;
}
