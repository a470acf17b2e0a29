#pragma once

#include "link/ProgrammerModule.h"
#include "link/SerialLink.h"

#include <QFile>

class CliContext;

// The module as tolm-cli's chip commands reach it: the port named by -p (or the settings
// file), and every exchange written to --trace FILE when it is given.
class CliModulePort
{
public:
    explicit CliModulePort(CliContext &ctx);

    // Starts the --trace file when one is asked for; false (after a message on stderr) when
    // it cannot be written.
    bool StartTrace();

    // Opens the port; false (after a message on stderr naming the port and the reason) when
    // it cannot be opened. The desktop program carries on after such a failure and lets the
    // module commands fail, so callers may do the same.
    bool OpenPort();

    ProgrammerModule &Module() { return m_module; }

private:
    CliContext &m_ctx;
    SerialLink m_link;
    ProgrammerModule m_module{m_link};
    QFile m_trace;
};
