#pragma once

#include "cli/bench/PortRun.h"
#include "cli/output/ProgressLine.h"
#include "cli/session/ModulePort.h"
#include "cli/session/TerminalEngineHost.h"
#include "cli/session/WriteErrorResponder.h"
#include "device/DeviceRecord.h"
#include "engine/PicEngine.h"
#include "hexfile/HexTargets.h"
#include "hexfile/HexWriter.h"
#include "link/ChipWaits.h"

#include <QCommandLineParser>
#include <QStringList>
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
    // The module check the desktop runs before Read, Write, Verify, Blank Check and All Code
    // Protect: a memory-parity device needs a module that says it can do parity.
    bool checkModule = false;
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

    // Opens the port, starts the trace and runs the module check when the setup asks for it.
    // 0 when the chip may be spoken to, else the exit code (after a message on stderr).
    int Open();

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
    // What failed, for the production log (the first failure of the port is kept).
    void NoteFailure(WorkFailure failure) { m_io.NoteFailure(std::move(failure)); }
    QTextStream &out;
    QTextStream &err;

private:
    PortIo &m_io;
    // The session's waits and replies end when they are due; made on the port's thread.
    ChipTimerSlack m_timerSlack;
    ChipSetup m_setup;
    CliModulePort m_port;
    CliProgress m_progress;
    TerminalEngineHost m_host;
    PicEngine m_engine;
};

// Reports a failed chip command on stderr ("tolm-cli: <text>: <why>") and gives its exit
// code: 4 when the module never answered or stopped answering, else 1.
int ReportChipFailure(ChipSession &session, const QString &text, const ChipFailure &failure);
