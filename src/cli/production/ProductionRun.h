#pragma once

#include "cli/production/LogChoice.h"
#include "cli/production/SerialOptions.h"
#include "production/BenchFacts.h"
#include "production/ProductionRecorder.h"

#include <QString>
#include <atomic>
#include <functional>
#include <optional>

class CliContext;
class MemoryImage;
struct ChipSetup;
struct PortIo;

// What a chip command tells the production log and the summary line beyond what every
// command has (its name, options, device, port, result, words and time).
struct ProductionFacts
{
    // The hex file the port's chip was written from, compared with or read into.
    std::function<QString(const QString &port)> file;
    // The image's checksum after the work: what was written, compared with, or read (a read
    // only when it completed).
    bool checksum = false;
    bool checksumOnlyOnSuccess = false;
    // write --serial: a number for each chip.
    std::optional<SerialPlan> serial;
    // write, verify, read and blank end each port with a summary line on stderr.
    bool summaryLine = false;
};

// The production side of one chip command over its ports: the log made ready before the
// first port starts, a serial number for each chip, a row and a summary line for each port.
// A log file that cannot be written never stops the chip work; it turns a run that succeeded
// into exit 3 (programmed, but not recorded). A shared log on a server that refuses this bench
// (a wrong password, a newer schema) stops the run before any port is opened; one that is away
// only has its rows kept on the bench.
class ProductionRun
{
public:
    ProductionRun(CliContext &ctx, const ChipSetup &setup, const ProductionFacts &facts,
                  const CliLogChoice &log);

    // Before the ports start: makes the log ready (and sends the rows that waited for its
    // server), or says why it cannot be written. 0, or 3 when the run must not start.
    int Prepare();

    // One port's work on its thread: `work` runs with streams that keep its messages, and
    // with the serial number placed in `image` once the port is open.
    int RunPort(PortIo &io, MemoryImage &image, const std::function<int(PortIo &)> &work);

    // After every port: the run's exit code.
    int Finish(int worstExitCode);

private:
    struct PortRecord;
    int TakeSerial(PortIo &io, MemoryImage &image, PortRecord &record);
    void Record(PortIo &io, const MemoryImage &image, const PortRecord &record);

    void Append(PortIo &io, const ProductionRow &row);

    CliContext &m_ctx;
    const ChipSetup &m_setup;
    const ProductionFacts &m_facts;
    std::optional<ProductionRecorder> m_recorder; // none: --no-log
    const BenchFacts m_bench;
    const bool m_logged;     // the command is one the log keeps
    bool m_logReady = false; // set before the ports start, only read while they run
    std::atomic<bool> m_logFailed{false};
    std::atomic<int> m_kept{0}; // rows kept on the bench for the server
};
