#pragma once

#include "engine/TargetSequence.h"

#include "ops/PausableClock.h"

#include <QList>
#include <QString>

// The one line the progress window keeps after a Start has run its targets, until the next
// Start: what was done, or which target failed, and how long it took. It is the quiet record
// of a run; the boxes of the targets stay as they are.
//
//   Write finished in 34 s: program memory 1024 words, data 64 bytes, ID code, configuration word
//   Verify failed in 2 s: program memory (0003: expected 2222, read 1003); data 64 bytes verified
class SequenceSummary
{
public:
    // A run starts: the targets of the one before are forgotten and the clock starts.
    void Begin(ChipOperation operation, bool eraseFirst = false);
    // One target's result (failed as TargetFailed judges). resultText says why it failed in the
    // user's words (the first difference, the exchange that failed), when the caller knows it; it
    // is shown in brackets after the target. A target reported twice (written, then verified)
    // counts once: its words from the first report, failed if either failed.
    void Add(const TargetReport &report, const QString &resultText = QString());
    // A failure outside the targets, e.g. "erase".
    void AddFailure(const QString &what, const QString &resultText = QString());

    // Some target failed, or the user skipped words or aborted a write: the chip does not
    // hold what was asked.
    bool Failed() const;
    QString Text() const;
    QString Text(qint64 elapsedMs) const;
    // The run's time leaves out a pause and a box waiting for the user.
    void Hold() { m_clock.Hold(); }
    void Release() { m_clock.Release(); }

private:
    struct Entry
    {
        QString what;
        int words = -1; // -1: not a memory target
        bool data = false;
        bool failed = false;
        bool endedByUser = false;
        QString resultText;
    };
    QString OperationName() const;
    QString DoneWord() const;
    static QString EntryText(const Entry &entry);

    ChipOperation m_operation = ChipOperation::Read;
    bool m_eraseFirst = false;
    QList<Entry> m_entries;
    PausableClock m_clock;
};

// "34 s" below a minute, else "2 min 5 s".
QString SummaryDuration(qint64 elapsedMs);
