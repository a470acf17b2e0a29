#include "cli/output/ProgressLine.h"

#include <unistd.h>

namespace {
constexpr int kBarWidth = 24;
// A terminal over SSH should not be flooded: ten redraws a second read as smooth.
constexpr qint64 kRedrawMs = 100;
} // namespace

QString ProgressLineText(const QString &label, int done, int total, qint64 elapsedMs)
{
    if (total <= 0)
        return label;
    const qint64 shown = std::min<qint64>(done, total);
    const int filled = static_cast<int>(shown * kBarWidth / total);
    const QString bar =
        QString(filled, QLatin1Char('#')) + QString(kBarWidth - filled, QLatin1Char('.'));
    const qint64 percent = shown * 100 / total;
    const std::optional<qint64> secondsLeft = SecondsLeft(elapsedMs, shown, total);
    const QString left = secondsLeft ? DurationText(*secondsLeft) : QStringLiteral("-:--");
    return QStringLiteral("%1 [%2] %3%  %4/%5  %6 left %7")
        .arg(label, bar)
        .arg(percent, 3)
        .arg(shown)
        .arg(total)
        .arg(DurationText(elapsedMs / 1000), left);
}

bool ProgressWanted(bool quiet)
{
    return !quiet && isatty(STDERR_FILENO) == 1;
}

CliProgress::CliProgress(QTextStream &err, bool enabled, Sink sink)
    : m_err(err), m_enabled(enabled), m_sink(std::move(sink))
{}

void CliProgress::StartTarget(const QString &status)
{
    if (m_lineOpen)
        FinishTarget();
    QString label = status.trimmed();
    if (label.endsWith(QLatin1String("...")))
        label = label.chopped(3).trimmed();
    m_label = label;
    m_total = 0;
    m_done = 0;
    m_elapsed.start();
    Draw(true);
}

void CliProgress::SetMaximum(int maximum)
{
    m_total = maximum + 1;
    Draw(true);
}

void CliProgress::Step()
{
    ++m_done;
    Draw(m_done >= m_total);
}

void CliProgress::FinishTarget()
{
    if (!m_enabled || !m_lineOpen)
        return;
    Draw(true);
    m_err << '\n';
    m_err.flush();
    m_lineOpen = false;
    m_label.clear();
}

void CliProgress::Interrupt()
{
    if (!m_enabled || !m_lineOpen)
        return;
    m_err << '\n';
    m_err.flush();
    m_lineOpen = false;
}

void CliProgress::Draw(bool force)
{
    if (!m_enabled || m_label.isEmpty())
        return;
    if (!force && m_sinceDraw.isValid() && m_sinceDraw.elapsed() < kRedrawMs)
        return;
    m_sinceDraw.start();
    const QString line = ProgressLineText(m_label, m_done, m_total, m_elapsed.elapsed());
    if (m_sink) {
        // The sink's line stays as last drawn; there is no open line to end on this stream.
        m_sink(line);
        return;
    }
    // Carriage return, the line, then erase what a longer earlier line left behind.
    m_err << '\r' << line << "\x1b[K";
    m_err.flush();
    m_lineOpen = true;
}
