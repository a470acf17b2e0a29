#pragma once

#include "link/ProgrammerModule.h"
#include "link/SerialLink.h"

#include <QFile>
#include <QTextStream>
#include <optional>

// The module as tolm-cli's chip commands reach it: one port of -p (or the settings file),
// and every exchange written to --trace FILE when it is given. Messages go to `err`. It
// holds a QSerialPort, so it is made, used and destroyed on one thread.
class CliModulePort
{
public:
    CliModulePort(QString portName, std::optional<QString> tracePath, QTextStream &err);

    // Starts the --trace file when one is asked for; false (after a message on stderr) when
    // it cannot be written. Once both the trace and the port are open, the trace's first line
    // says whether the driver took the request for low latency ("# low latency: on").
    bool StartTrace();
    // After the work: when a trace line could not be written, says so and turns a success
    // exit code into 3; otherwise gives exitCode unchanged.
    int FinishTrace(int exitCode);

    // Opens the port; false (after a message on stderr naming the port and the reason) when
    // it cannot be opened. The desktop program carries on after such a failure and lets the
    // module commands fail, so callers may do the same.
    bool OpenPort();

    ProgrammerModule &Module() { return m_module; }

    // Whether the module has acknowledged any exchange since the port was opened: a command
    // that failed without a single acknowledge met no module at all (exit 4), one that failed
    // later met a module that could not do the work (exit 1).
    bool ModuleAnswered() const { return m_watch.acknowledged; }

    // Why the port did not open, why the trace file could not be opened, why a trace line
    // could not be written (until FinishTrace has said so), in the system's words.
    QString OpenErrorText() const { return m_link.LastErrorText(); }
    QString TraceOpenErrorText() const { return m_traceOpenError; }
    QString TraceWriteErrorText() const { return m_traceError.value_or(QString()); }

private:
    void NoteLowLatency();

    // Passes every byte through and notes an acknowledge byte coming back. Reply digits are
    // hexadecimal characters and the identification byte is not a space, so only an
    // acknowledge can be this byte.
    struct AcknowledgeWatch : ByteChannel
    {
        explicit AcknowledgeWatch(ByteChannel &channel) : inner(channel) {}
        bool WriteByte(std::uint8_t byte) override { return inner.WriteByte(byte); }
        std::optional<std::uint8_t> ReadByte() override
        {
            const auto byte = inner.ReadByte();
            acknowledged = acknowledged || byte == kAckByte;
            return byte;
        }
        ByteChannel &inner;
        bool acknowledged = false;
    };

    QString m_portName;
    std::optional<QString> m_tracePath;
    QTextStream &m_err;
    SerialLink m_link;
    AcknowledgeWatch m_watch{m_link};
    ProgrammerModule m_module{m_watch};
    QFile m_trace;
    std::optional<QString> m_traceError;
    QString m_traceOpenError;
};
