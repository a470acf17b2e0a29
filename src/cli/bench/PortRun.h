#pragma once

#include "cli/output/ProgressLine.h"
#include "cli/output/WorkFailure.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>
#include <vector>

class CliContext;

// What one port's work writes to and is told about: its name, its trace file, its own
// output streams and where its progress line goes.
struct PortIo
{
    QString port; // as given in -p
    std::optional<QString> tracePath;
    QTextStream &out;
    QTextStream &err;
    CliProgress::Sink progressSink; // empty: the usual single line on err
    int wordsDone = 0;              // words and bytes the memory targets went through
    // The first thing that failed on this port, for the production log.
    std::optional<WorkFailure> failure = {};

    void NoteFailure(WorkFailure what)
    {
        if (!failure)
            failure = std::move(what);
    }
};

using PortWork = std::function<int(PortIo &io)>;

// Runs `work` on each port and gives the worst exit code. One port runs on this thread with
// the command's own streams, exactly as tolm-cli always ran. Several ports run at once, each
// on a thread of its own (its serial port, module and engine are made there and never leave
// it), their lines prefixed with the port; a summary table follows on stdout. A port that
// fails does not stop the others; Ctrl-C stops each as it stops a single one.
int RunOnPorts(CliContext &ctx, const QStringList &ports, const PortWork &work);

// One port's line of the summary table.
struct PortSummaryRow
{
    QString port;
    int exitCode = 0;
    int wordsDone = 0;
    qint64 elapsedMs = 0;
};

// The summary table: a header, then "PORT RESULT EXIT WORDS ELAPSED" a line, in columns.
QString PortSummaryText(const std::vector<PortSummaryRow> &rows);

// The result column: ok, failed, file-error, port-error, stopped.
QString PortResultText(int exitCode);
