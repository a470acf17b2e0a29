#include "cli/bench/PortRun.h"

#include "cli/CliContext.h"
#include "cli/bench/PortConsole.h"
#include "cli/options/PortListOption.h"
#include "cli/output/TextTable.h"
#include "production/LogConnectionPool.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <memory>
#include <mutex>

namespace {

// One port on its own thread: its streams end in the shared console.
PortSummaryRow RunPortThread(PortConsole &console, int index,
                             const std::optional<QString> &tracePath, const PortWork &work)
{
    const QString port = console.PortName(index);
    QElapsedTimer timer;
    timer.start();
    PortLineDevice outDevice(console, index, true);
    PortLineDevice errDevice(console, index, false);
    QTextStream out(&outDevice);
    QTextStream err(&errDevice);
    PortIo io{port, tracePath ? std::optional(PerPortPath(*tracePath, port)) : std::nullopt, out,
              err, [&console, index](const QString &line) { console.Progress(index, line); }};
    const int exitCode = work(io);
    out.flush();
    err.flush();
    console.Progress(index, QStringLiteral("finished: ") + PortResultText(exitCode));
    return {port, exitCode, io.wordsDone, timer.elapsed()};
}

} // namespace

QString PortResultText(int exitCode)
{
    switch (exitCode) {
    case CliExit::kOk:
        return QStringLiteral("ok");
    case CliExit::kFailed:
        return QStringLiteral("failed");
    case CliExit::kFileError:
        return QStringLiteral("file-error");
    case CliExit::kPortError:
        return QStringLiteral("port-error");
    default:
        return exitCode > 128 ? QStringLiteral("stopped") : QStringLiteral("error");
    }
}

QString PortSummaryText(const std::vector<PortSummaryRow> &rows)
{
    qsizetype portWidth = 4;
    for (const PortSummaryRow &row : rows)
        portWidth = std::max(portWidth, row.port.size());
    const auto line = [&](const QString &port, const QString &result, const QString &exitCode,
                          const QString &words, const QString &elapsed) {
        return QStringLiteral("%1  %2  %3  %4  %5\n")
            .arg(port, -static_cast<int>(portWidth))
            .arg(result, -10)
            .arg(exitCode, 4)
            .arg(words, 6)
            .arg(elapsed, 8);
    };
    QString text = line(QStringLiteral("port"), QStringLiteral("result"), QStringLiteral("exit"),
                        QStringLiteral("words"), QStringLiteral("elapsed"));
    for (const PortSummaryRow &row : rows)
        text += line(row.port, PortResultText(row.exitCode), QString::number(row.exitCode),
                     QString::number(row.wordsDone), SecondsText(row.elapsedMs) + QLatin1Char('s'));
    return text;
}

int RunOnPorts(CliContext &ctx, const QStringList &ports, const PortWork &work)
{
    const std::optional<QString> tracePath = ctx.Value(QStringLiteral("trace"));
    if (ports.size() == 1) {
        PortIo io{ports[0], tracePath, ctx.out, ctx.err, {}};
        return work(io);
    }
    PortConsole console(ctx.out, ctx.err, ports,
                        ProgressWanted(ctx.IsSet(QStringLiteral("quiet"))));
    std::vector<PortSummaryRow> rows(static_cast<std::size_t>(ports.size()));
    // The rows change hands under a lock as well as through the thread's end, so that a
    // thread checker sees the hand-over (it cannot see into QThread::wait).
    std::mutex rowsMutex;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int i = 0; i < ports.size(); ++i) {
        // QThread rather than std::thread: the serial port made in it needs the event
        // dispatcher a QThread brings along.
        threads.emplace_back(QThread::create([&console, &rows, &rowsMutex, &tracePath, &work, i] {
            PortSummaryRow row = RunPortThread(console, i, tracePath, work);
            PooledLogConnection::EndOfThread();
            std::lock_guard lock(rowsMutex);
            rows[static_cast<std::size_t>(i)] = std::move(row);
        }));
        threads.back()->start();
    }
    for (const auto &thread : threads)
        thread->wait();
    console.Finish();
    std::lock_guard lock(rowsMutex);
    ctx.out << PortSummaryText(rows);
    ctx.out.flush();
    int worst = CliExit::kOk;
    for (const PortSummaryRow &row : rows)
        worst = std::max(worst, row.exitCode);
    return worst;
}
