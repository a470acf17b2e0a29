#pragma once

#include "cli/bench/PortRun.h"
#include "cli/output/ProgressLine.h"
#include "cli/production/ProductionRun.h"
#include "cli/session/ModulePort.h"
#include "cli/session/TerminalEngineHost.h"
#include "cli/session/WriteErrorResponder.h"
#include "device/DeviceRecord.h"
#include "engine/PicEngine.h"
#include "hexfile/HexTargets.h"
#include "hexfile/HexWriter.h"

#include <QCommandLineParser>
#include <QStringList>
#include <functional>
#include <optional>

class CliContext;
class MemoryImage;

// What a chip command takes from the command line, checked before any file or port is
// touched: a bad value is a usage error.
struct ChipSetup
{
    DeviceRecord device;
    HexTargets targets;
    HexAddressTexts addresses;
    bool parallel = true;
    WriteErrorPolicy policy;
    bool quiet = false;
    QStringList ports; // -p: one port, or several to run on at once
    // write, erase and protect without --force: the device ID of a part that has one must
    // name the selected device before anything is done to the chip.
    bool checkDeviceId = false;
};

// --force of write, erase and protect: skips the device ID check.
inline constexpr char kForceOption[] = "force";
void AddForceOption(QCommandLineParser &parser);

// Resolves -d, -t, the ranges, -m, --on-write-error, -q and -p; on a bad value it has
// reported the reason and gives nothing (exit 2).
std::optional<ChipSetup> ResolveChipSetup(CliContext &ctx);

// One chip command's own module, host and engine on one port. Nothing in it is shared with
// another session, so a command can run one session per port, each on its own thread.
class ChipSession
{
public:
    ChipSession(PortIo &io, const ChipSetup &setup, MemoryImage &image);

    // Starts the trace, opens the port and, when asked, runs the module check the desktop
    // runs before Read, Write, Verify, Blank Check and All Code Protect; then the device ID
    // check when the setup asks for it. 0 when the chip work may start, else the exit code
    // (after a message on stderr).
    int Open(bool checkModule);

    // The exit code for a chip command that failed: the module never answered (4) or the
    // work failed (1).
    int FailureExitCode() const;
    // Whether the module acknowledged anything on this port.
    bool ModuleAnsweredOnce() const;
    // See CliModulePort::FinishTrace.
    int FinishTrace(int exitCode);

    const ChipSetup &Setup() const { return m_setup; }
    const DeviceRecord &Device() const { return m_setup.device; }
    PicEngine &Engine() { return m_engine; }
    const PicEngine &Engine() const { return m_engine; }
    TerminalEngineHost &Host() { return m_host; }
    const TerminalEngineHost &Host() const { return m_host; }
    CliProgress &Progress() { return m_progress; }
    ProgrammerModule &Module() { return m_port.Module(); }
    // Words and bytes the memory targets went through, for the summary of several ports.
    void CountWords(int words) { m_io.wordsDone += words; }
    QTextStream &out;
    QTextStream &err;

private:
    PortIo &m_io;
    ChipSetup m_setup;
    CliModulePort m_port;
    CliProgress m_progress;
    TerminalEngineHost m_host;
    PicEngine m_engine;
};

// Reports a failed chip command on stderr ("tolm-cli: <text>") and gives its exit code.
int ChipFailure(ChipSession &session, const QString &text);

// The chip work of a command on one port: a session of its own and the port's name.
using ChipWork = std::function<int(ChipSession &session, const QString &port)>;

// Runs `work` on every port of the setup, each port with its own session over its own copy
// of `input` (made on the port's thread: the image is a QObject). Ctrl-C and SIGTERM are
// noted for the whole run. Each port gets its row in the production log (and its serial
// number and summary line as `facts` ask). Gives the worst port's exit code.
int RunChipWork(CliContext &ctx, const ChipSetup &setup, const MemoryImage &input,
                const ChipWork &work, const ProductionFacts &facts = {});

// A copy of every cell, the configuration word and the ID code.
void CopyImage(const MemoryImage &from, MemoryImage &to);
