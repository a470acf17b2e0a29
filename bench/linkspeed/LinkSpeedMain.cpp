// Link speed: each workload through the real serial link to tolm-modsim in real time on a
// pseudo-terminal, its elapsed time against the ideal worked out from the simulator's
// transcript. A ratio near 1 means the host adds (almost) nothing to what the line and the chip
// need. The second ratio also allows each exchange the turnaround measured on this machine
// (two processes on a pseudo-terminal), which a module on a real port does not cost.
//
//   link_speed_bench [--modsim PATH] [--workload NAME]... [--runs N]
//                    [--waits deadline|relative|both] [--list]

#include "IdealTime.h"
#include "LinkRun.h"
#include "LinkWorkloads.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kTurnaroundExchanges = 2000;

void PrintHeader()
{
    std::printf("%-40s %-8s %9s %7s %10s %10s %7s %8s %7s\n", "workload", "waits", "exchanges",
                "bytes", "elapsed s", "ideal s", "ratio", "turn. us", "+turn.");
}

void PrintRow(const LinkWorkload &workload, HostWaits waits, const LinkRunResult &r,
              std::chrono::nanoseconds turnaround)
{
    const double ideal = static_cast<double>(r.ideal.Total(kLinkBaud).count()) / 1e6;
    const double elapsed = static_cast<double>(r.elapsed.count()) / 1e6;
    const double turn = static_cast<double>(turnaround.count()) * r.ideal.exchanges / 1e9;
    std::printf("%-40s %-8s %9d %7ld %10.3f %10.3f %7.4f %8.1f %7.4f\n", workload.name.c_str(),
                waits == HostWaits::Deadline ? "deadline" : "relative", r.ideal.exchanges,
                r.ideal.lineBytes, elapsed, ideal, elapsed / ideal,
                static_cast<double>(turnaround.count()) / 1e3, elapsed / (ideal + turn));
    std::fflush(stdout);
}

std::vector<HostWaits> ChosenWaits(const QString &text)
{
    if (text == QLatin1String("relative"))
        return {HostWaits::Relative};
    if (text == QLatin1String("both"))
        return {HostWaits::Relative, HostWaits::Deadline};
    return {HostWaits::Deadline};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times workloads over the serial link against tolm-modsim --realtime."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("modsim"), QStringLiteral("The simulator to run."), QStringLiteral("PATH"),
         QStringLiteral(TOLM_MODSIM)},
        {QStringLiteral("workload"), QStringLiteral("Run only this workload; repeatable."),
         QStringLiteral("NAME")},
        {QStringLiteral("runs"), QStringLiteral("Runs of each workload."), QStringLiteral("N"),
         QStringLiteral("1")},
        {QStringLiteral("waits"),
         QStringLiteral("The host's pauses: deadline (as tolm-cli makes them), relative (a "
                        "plain sleep) or both, one after the other."),
         QStringLiteral("HOW"), QStringLiteral("deadline")},
        {QStringLiteral("list"), QStringLiteral("List the workloads and exit.")},
    });
    parser.process(app);
    if (parser.isSet(QStringLiteral("list"))) {
        for (const LinkWorkload &w : AllLinkWorkloads()) {
            std::printf("%s\n", w.name.c_str());
        }
        return 0;
    }
    const QStringList chosen = parser.values(QStringLiteral("workload"));
    const int runs = std::max(1, parser.value(QStringLiteral("runs")).toInt());
    PrintHeader();
    const std::vector<HostWaits> waits = ChosenWaits(parser.value(QStringLiteral("waits")));
    int failures = 0;
    for (const LinkWorkload &workload : AllLinkWorkloads()) {
        if (!chosen.isEmpty() && !chosen.contains(QString::fromStdString(workload.name))) {
            continue;
        }
        for (int run = 0; run < runs; ++run) {
            for (const HostWaits how : waits) {
                // Measured right before the run, so that both see the same load.
                std::string error;
                const auto turnaround =
                    MeasureTurnaround(parser.value("modsim"), kTurnaroundExchanges, error);
                const LinkRunResult result = RunLinkWorkload(parser.value("modsim"), workload, how);
                if (!turnaround || !result.error.empty()) {
                    std::fprintf(stderr, "%s: %s\n", workload.name.c_str(),
                                 turnaround ? result.error.c_str() : error.c_str());
                    ++failures;
                    continue;
                }
                PrintRow(workload, how, result, *turnaround);
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
