#include "LinkRun.h"

#include "ModsimProcess.h"
#include "link/SerialLink.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

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

LinkRunResult RunLinkWorkload(const QString &modsim, const LinkWorkload &workload)
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
    const bool completed = workload.run(module);
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
