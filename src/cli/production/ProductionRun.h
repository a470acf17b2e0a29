#pragma once

#include "cli/bench/PortRun.h"
#include "cli/production/LogChoice.h"
#include "cli/production/SerialOptions.h"
#include "production/BenchFacts.h"
#include "production/ProductionRecorder.h"

#include <QElapsedTimer>
#include <QString>
#include <atomic>
#include <optional>

class CliContext;
class MemoryImage;
struct ChipSetup;

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

struct ProductionPortRecord;

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

    // After every port: the run's exit code.
    int Finish(int worstExitCode);

private:
    friend class ProductionPort;
    int TakeSerial(PortIo &io, MemoryImage &image, ProductionPortRecord &record);
    void Record(PortIo &io, const MemoryImage &image, const ProductionPortRecord &record);
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

// What the log keeps of one port beside the facts every row has.
struct ProductionPortRecord
{
    std::optional<std::uint64_t> serial;
    int exitCode = 0;
    int words = 0;
    qint64 elapsedMs = 0;
    QString detail;
};

// One port's part of a production run, on the port's thread: made when the port's work
// starts, finished with its exit code.
class ProductionPort
{
public:
    ProductionPort(ProductionRun &run, PortIo &io);

    // What the port's work writes to, and notes its first failure in for the log's row.
    PortIo &Io() { return m_io; }

    // write --serial: takes this chip's number from the serial file or the log's counter and
    // places it in `image`, once the port is open and the chip checked. 0 (also without --serial),
    // or the exit code after saying why.
    int TakeSerial(MemoryImage &image);

    // After the work: the port's row in the log and its summary line. Gives exitCode.
    int Finish(const MemoryImage &image, int exitCode);

private:
    ProductionRun &m_run;
    PortIo &m_io;
    QElapsedTimer m_timer;
    ProductionPortRecord m_record;
};
