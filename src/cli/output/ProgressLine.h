#pragma once

#include "engine/ProgressTime.h"
#include "texts/TimeTexts.h"

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

#include <functional>

// The progress window of a terminal: one line per target, redrawn in place, showing the
// target, a bar, the percentage, words done of the total, the time so far and the time left.
// It is drawn only where a person watches (stderr a terminal, no --quiet); a log or a pipe
// gets no progress output at all.
class CliProgress
{
public:
    // Where a line goes instead of being drawn on `err`: with several ports, the port's line
    // in the block of progress lines.
    using Sink = std::function<void(const QString &line)>;

    CliProgress(QTextStream &err, bool enabled, Sink sink = {});

    // A target starts: the status text names it ("Writing Program Memory ...").
    void StartTarget(const QString &status);
    // The word loop knows its range: `maximum` + 1 words follow.
    void SetMaximum(int maximum);
    void Step();
    // The target ended: its line stays as last drawn.
    void FinishTarget();
    // A message is about to go to stderr: end the line so the message stands on its own;
    // the next redraw starts a fresh line.
    void Interrupt();

    bool Enabled() const { return m_enabled; }

private:
    void Draw(bool force);

    QTextStream &m_err;
    bool m_enabled;
    Sink m_sink;
    QString m_label;
    int m_total = 0; // 0: no word count (ID code, configuration word)
    int m_done = 0;
    bool m_lineOpen = false;
    QElapsedTimer m_elapsed;
    QElapsedTimer m_sinceDraw;
};

// One progress line without the carriage return, e.g.
// "Writing Program Memory [#######.............]  35%  360/1024  0:02 left 0:04".
// Without a total, only the label.
QString ProgressLineText(const QString &label, int done, int total, qint64 elapsedMs);

// Whether progress is drawn: stderr is a terminal and --quiet was not given.
bool ProgressWanted(bool quiet);
