// Link speed: each workload through the real serial link to tolm-modsim in real time on a
// pseudo-terminal, its elapsed time against the ideal worked out from the simulator's
// transcript. A ratio near 1 means the host adds (almost) nothing to what the line and the chip
// need.
//
//   link_speed_bench [--modsim PATH] [--workload NAME]... [--runs N] [--list]

#include "IdealTime.h"
#include "LinkRun.h"
#include "LinkWorkloads.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

void PrintHeader()
{
    std::printf("%-40s %9s %7s %10s %10s %7s\n", "workload", "exchanges", "bytes", "elapsed s",
                "ideal s", "ratio");
}

void PrintRow(const LinkWorkload &workload, const LinkRunResult &r)
{
    const double ideal = static_cast<double>(r.ideal.Total(kLinkBaud).count()) / 1e6;
    const double elapsed = static_cast<double>(r.elapsed.count()) / 1e6;
    std::printf("%-40s %9d %7ld %10.3f %10.3f %7.4f\n", workload.name.c_str(), r.ideal.exchanges,
                r.ideal.lineBytes, elapsed, ideal, elapsed / ideal);
    std::fflush(stdout);
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
    int failures = 0;
    for (const LinkWorkload &workload : AllLinkWorkloads()) {
        if (!chosen.isEmpty() && !chosen.contains(QString::fromStdString(workload.name))) {
            continue;
        }
        for (int run = 0; run < runs; ++run) {
            const LinkRunResult result = RunLinkWorkload(parser.value("modsim"), workload);
            if (!result.error.empty()) {
                std::fprintf(stderr, "%s: %s\n", workload.name.c_str(), result.error.c_str());
                ++failures;
                break;
            }
            PrintRow(workload, result);
        }
    }
    return failures == 0 ? 0 : 1;
}
