#include "ops/ProgressInfo.h"

#include "device/HexText.h"
#include "engine/ProgressTime.h"
#include "texts/TimeTexts.h"

#include <algorithm>

QString ProgressCountText(const ProgressFigures &figures)
{
    if (figures.total <= 0)
        return {};
    const int done = std::clamp(figures.done, 0, figures.total);
    // The word being worked on; after the last one, the last one.
    const int offset = std::min(done, figures.total - 1);
    const QString address =
        FormatHex(static_cast<std::uint16_t>(figures.start + offset), figures.dataAddress ? 2 : 4);
    return QStringLiteral("Address %1   %2%   %3 of %4 %5")
        .arg(address)
        .arg(static_cast<qint64>(done) * 100 / figures.total)
        .arg(done)
        .arg(figures.total)
        .arg(figures.dataAddress ? QStringLiteral("bytes") : QStringLiteral("words"));
}

QString PausedText(const ProgressFigures &figures)
{
    if (figures.total <= 0)
        return QStringLiteral("Paused");
    const int offset = std::clamp(figures.done, 0, figures.total - 1);
    return QStringLiteral("Paused at %1")
        .arg(FormatHex(static_cast<std::uint16_t>(figures.start + offset),
                       figures.dataAddress ? 2 : 4));
}

QString ProgressTimeText(const ProgressFigures &figures, qint64 elapsedMs)
{
    if (figures.total <= 0)
        return {};
    const QString soFar = DurationText(elapsedMs / 1000) + QStringLiteral(" so far");
    const std::optional<qint64> left = SecondsLeft(elapsedMs, figures.done, figures.total);
    if (!left)
        return soFar;
    return soFar + QStringLiteral("   ") + DurationText(*left) + QStringLiteral(" left");
}

void ProgressInfo::StartTarget()
{
    m_figures = ProgressFigures();
    // A target that starts while the run is held (paused) starts held.
    const bool held = m_clock.Held();
    m_clock.Start();
    if (held)
        m_clock.Hold();
}

void ProgressInfo::SetStart(std::uint16_t address, bool dataAddress)
{
    m_figures.start = address;
    m_figures.dataAddress = dataAddress;
}

void ProgressInfo::SetMaximum(int maximum)
{
    m_figures.total = maximum + 1;
    m_figures.done = 0;
}

void ProgressInfo::Step()
{
    ++m_figures.done;
}
