#include "LinkRun.h"

#include "ModsimProcess.h"
#include "link/ChipWaits.h"
#include "link/SerialLink.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace {

std::vector<std::string> ReadLines(const QString &path)
{
    std::vector<std::string> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return lines;
    }
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.isEmpty()) {
            lines.push_back(line.toStdString());
        }
    }
    return lines;
}

} // namespace

LinkRunResult RunLinkWorkload(const QString &modsim, const LinkWorkload &workload, HostWaits waits)
{
    LinkRunResult result;
    QTemporaryDir dir;
    const QString transcript = dir.filePath(QStringLiteral("transcript"));
    ModsimProcess simulator(modsim);
    const QStringList options =
        QStringList{QStringLiteral("--realtime"), QStringLiteral("--transcript"), transcript,
                    QStringLiteral("--transcript-chip-time")} +
        workload.modsimOptions;
    if (!simulator.Start(QString::fromStdString(workload.device), options)) {
        result.error = simulator.Error().toStdString();
        return result;
    }
    SerialLink link;
    if (!link.OpenModulePort(simulator.LinkPath())) {
        result.error = link.LastErrorText().toStdString();
        return result;
    }
    ProgrammerModule module(link);
    QElapsedTimer timer;
    timer.start();
    const bool completed = workload.run(module, waits);
    result.elapsed = std::chrono::microseconds(timer.nsecsElapsed() / 1000);
    link.CloseModulePort();
    simulator.Stop();
    if (!completed) {
        result.error = "the workload failed: " + simulator.StandardError().toStdString();
        return result;
    }
    const std::optional<IdealTime> ideal =
        IdealTimeOfTranscript(ReadLines(transcript), result.error);
    if (ideal) {
        result.ideal = *ideal;
    }
    return result;
}

std::optional<std::chrono::nanoseconds> MeasureTurnaround(const QString &modsim, int exchanges,
                                                          std::string &error)
{
    ModsimProcess simulator(modsim);
    if (!simulator.Start(QStringLiteral("16f84"), {})) {
        error = simulator.Error().toStdString();
        return std::nullopt;
    }
    SerialLink link;
    if (!link.OpenModulePort(simulator.LinkPath())) {
        error = link.LastErrorText().toStdString();
        return std::nullopt;
    }
    ProgrammerModule module(link);
    // As the chip work measured beside it does: the slack that hides nothing.
    const ChipTimerSlack slack;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < exchanges; ++i) {
        if (!module.ModulePowerOff()) {
            error = "the simulator did not acknowledge Power Off";
            return std::nullopt;
        }
    }
    const qint64 elapsed = timer.nsecsElapsed();
    link.CloseModulePort();
    simulator.Stop();
    return std::chrono::nanoseconds(elapsed / std::max(1, exchanges));
}
