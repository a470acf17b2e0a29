#pragma once

#include "CliModulePort.h"
#include "CliProgress.h"
#include "TerminalEngineHost.h"
#include "WriteErrorResponder.h"
#include "device/DeviceRecord.h"
#include "engine/PicEngine.h"
#include "hexfile/HexTargets.h"
#include "hexfile/HexWriter.h"

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
};

// Resolves -d, -t, the ranges, -m, --on-write-error and -q; on a bad value it has reported
// the reason and gives nothing (exit 2).
std::optional<ChipSetup> ResolveChipSetup(CliContext &ctx);

// One chip command's own module, host and engine on one port. Nothing in it is shared with
// another session, so a command can run one session per port, each on its own thread.
class ChipSession
{
public:
    ChipSession(CliContext &ctx, const ChipSetup &setup, MemoryImage &image);

    // Starts the trace, opens the port and, when asked, runs the module check the desktop
    // runs before Read, Write, Verify, Blank Check and All Code Protect. 0 when the chip
    // work may start, else the exit code (after a message on stderr).
    int Open(bool checkModule);

    // The exit code for a chip command that failed: the module never answered (4) or the
    // work failed (1).
    int FailureExitCode() const;

    const ChipSetup &Setup() const { return m_setup; }
    const DeviceRecord &Device() const { return m_setup.device; }
    PicEngine &Engine() { return m_engine; }
    TerminalEngineHost &Host() { return m_host; }
    const TerminalEngineHost &Host() const { return m_host; }
    CliProgress &Progress() { return m_progress; }
    ProgrammerModule &Module() { return m_port.Module(); }
    QTextStream &out;
    QTextStream &err;

private:
    ChipSetup m_setup;
    CliModulePort m_port;
    CliProgress m_progress;
    TerminalEngineHost m_host;
    PicEngine m_engine;
};

// Reports a failed chip command on stderr ("tolm-cli: <text>") and gives its exit code.
int ChipFailure(ChipSession &session, const QString &text);
