#pragma once

#include "engine/EngineResult.h"

#include <QString>
#include <cstdint>

// The buttons a word that will not program offers. The 16C5x module command reports only
// success or failure, so its dialog offers OK (skip the word) and Cancel (end the write); the
// other families can pulse the word again, hence Abort, Retry and Ignore.
enum class WriteErrorButtons { OkCancel, AbortRetryIgnore };
enum class WriteErrorAnswer { Ok, Cancel, Abort, Retry, Ignore };

// What the engine needs from the windows (or from a terminal, or a test), asked for at the
// moment it is needed, never cached: the user may change the method or the address fields
// while an operation waits for Start, and the request flags change between words.
class EngineHost
{
public:
    virtual ~EngineHost() = default;

    // The "Method" radio buttons. The engine reads them at each decision; the 16f628's
    // configuration word only programs by the Serial method, so its write switches the
    // buttons over and puts them back afterwards.
    virtual bool ParallelSelected() const = 0;
    virtual void SetParallelSelected(bool parallel) = 0;

    // The four address fields exactly as the user sees them, unfilled mask positions included
    // ("A_00"): a half-typed address must fail to convert rather than quietly mean 0A00.
    virtual QString ProgStartText() const = 0;
    virtual QString ProgEndText() const = 0;
    virtual QString DataStartText() const = 0;
    virtual QString DataEndText() const = 0;

    // The progress window.
    virtual void SetStatus(const QString &text) = 0;
    virtual void SetProgressMax(int maximum) = 0;
    virtual void StepProgress() = 0;
    virtual void SetStartCaption(const QString &caption) = 0;
    // The address of the range's first word, told just before SetProgressMax: the bar's count
    // plus this is the word in progress. dataAddress: a data EEPROM byte address (two digits),
    // else a program word address. Hosts that show no address leave it.
    virtual void SetProgressStart(std::uint16_t /*address*/, bool /*dataAddress*/) {}

    // The request flags, raised by the progress window's buttons (or a signal in a terminal).
    virtual bool PauseRequested() const = 0;
    virtual bool CloseRequested() const = 0;

    // Between words: let the windows repaint and the buttons be pressed.
    virtual void ProcessEvents() = 0;
    // A paused pass of the word loop: wait a little for something to happen (a click, a
    // signal) without spinning the processor, then return.
    virtual void WaitWhilePaused() = 0;
    // Waits at least ms milliseconds while events keep being handled.
    virtual void Delay(int ms) = 0;

    // The error box for a word that does not program; the answer decides what happens next.
    virtual WriteErrorAnswer AskWriteError(const QString &text, WriteErrorButtons buttons) = 0;
    // The same box, told what is known of the word (what it should hold, what it reads), so a
    // host can say more than the box's fixed text; by default only the text is shown.
    virtual WriteErrorAnswer AskWordWriteError(const QString &text, WriteErrorButtons buttons,
                                               const WordNotWritten & /*word*/, bool /*dataMemory*/)
    {
        return AskWriteError(text, buttons);
    }

    // The "Please Wait" window of the single-word calibration accesses.
    virtual void ShowWaiting(bool visible) = 0;
};
