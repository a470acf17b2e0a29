#pragma once

#include "ops/PausableClock.h"

#include <QString>
#include <cstdint>

// Where a memory target stands: the range's first address, how many words (data bytes) it
// has and how many are done.
struct ProgressFigures
{
    std::uint16_t start = 0;
    bool dataAddress = false; // data EEPROM bytes, two-digit addresses
    int total = 0;            // 0: no word range (ID code, configuration word, erase)
    int done = 0;
};

// "Address 0180   37%   384 of 1024 words": the word in progress (the last one once all are
// done), the share done and the count. Empty without a word range.
QString ProgressCountText(const ProgressFigures &figures);

// "Paused at 0180": the word the run goes on with; "Paused" without a word range.
QString PausedText(const ProgressFigures &figures);

// "0:12 so far   0:20 left"; before the first word only the time so far. Empty without a
// word range.
QString ProgressTimeText(const ProgressFigures &figures, qint64 elapsedMs);

// Follows one target after another as the engine reports them: a new status line starts a
// target (and its clock), the word loop then tells the range and steps through it.
class ProgressInfo
{
public:
    void StartTarget();
    void SetStart(std::uint16_t address, bool dataAddress);
    // The bar's maximum: maximum + 1 words follow.
    void SetMaximum(int maximum);
    void Step();
    // The user paused, or a box waits for an answer: the time so far leaves it out.
    void Hold() { m_clock.Hold(); }
    void Release() { m_clock.Release(); }

    const ProgressFigures &Figures() const { return m_figures; }
    qint64 ElapsedMs() const { return m_clock.ElapsedMs(); }

private:
    ProgressFigures m_figures;
    PausableClock m_clock;
};
