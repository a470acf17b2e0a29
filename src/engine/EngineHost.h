#pragma once

#include "engine/ChipTarget.h"
#include "engine/EngineResult.h"

#include <QString>
#include <cstdint>

// The buttons a word that will not program offers. The 16C5x module command reports only
// success or failure, so its dialog offers OK (skip the word) and Cancel (end the write); the
// other families can pulse the word again, hence Abort, Retry and Ignore.
enum class WriteErrorButtons { OkCancel, AbortRetryIgnore };
enum class WriteErrorAnswer { Ok, Cancel, Abort, Retry, Ignore };

// What the chip work is doing, for the status line: an operation on a target, or the erase
// that comes before an erase-then-write.
struct ChipActivity
{
    ChipOperation operation = ChipOperation::Read;
    ChipTarget target = ChipTarget::ProgramMemory;
    bool erasing = false;
};

// What the engine needs from the windows (or from a terminal, or a test), asked for at the
// moment it is needed, never cached: the user may change the method or the address fields
// while an operation waits for Start, and the request flags change between words. The engine
// hands over facts, never sentences; a host turns them into words with texts/ (TextEngineHost
// does that for the progress window and the write error box).
class EngineHost
{
public:
    virtual ~EngineHost() = default;

    // The "Method" radio buttons. The engine reads them at each decision; a part whose
    // configuration word only programs by the Serial method (16f628) has its write switch the
    // buttons over and put them back afterwards.
    virtual bool ParallelSelected() const = 0;
    virtual void SetParallelSelected(bool parallel) = 0;

    // The four address fields exactly as the user sees them, unfilled mask positions included
    // ("A_00"): a half-typed address must fail to convert rather than quietly mean 0A00.
    virtual QString ProgStartText() const = 0;
    virtual QString ProgEndText() const = 0;
    virtual QString DataStartText() const = 0;
    virtual QString DataEndText() const = 0;

    // The progress window: its status line says what the chip work is doing, its Start button
    // turns into Continue while an operation is paused.
    virtual void ShowActivity(const ChipActivity &activity) = 0;
    virtual void SetProgressMax(int maximum) = 0;
    virtual void StepProgress() = 0;
    virtual void ShowPaused() = 0;
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
    // The word's place and what is known of it (what it should hold, what it read back), so
    // a host can say more than the box's fixed text.
    virtual WriteErrorAnswer AskWordNotWritten(const WordNotWritten &word, bool dataMemory,
                                               WriteErrorButtons buttons) = 0;

    // The "Please Wait" window of the single-word calibration accesses.
    virtual void ShowWaiting(bool visible) = 0;
};
