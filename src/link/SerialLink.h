#pragma once

#include "link/ByteChannel.h"
#include "link/LowLatency.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QString>
#include <memory>

// Whether the link holds its port.
enum class PortState {
    NoPort,     // before the first open, and after a close
    Held,       // opened (even when a later line setting failed)
    OpenFailed, // the last open could not open the device; left only by the next open
};

// The one serial port to the programmer module: 9600 baud, 8 data bits, no parity, one stop
// bit, output held by the module through CTS. Each byte is its own transfer, limited to
// kByteTimeoutMs. Nothing is flushed or retried: a reply byte that comes after its read gave
// up stays queued and is read as part of the next reply, exactly as the module's protocol
// expects its host to behave.
//
// A pseudo-terminal (how the module simulator is reached) has no CTS line. Linux accepts the
// hardware flow control setting on it and ignores it, so the same settings apply to both and
// a write to a pseudo-terminal is held only when nobody takes bytes off it and its buffer is
// full (or its output is stopped).
class SerialLink : public ByteChannel
{
public:
    SerialLink();
    ~SerialLink() override;
    SerialLink(const SerialLink &) = delete;
    SerialLink &operator=(const SerialLink &) = delete;

    // Closes a held port, opens the named one (see ModulePortSystemLocation) and applies the
    // line settings, then asks the driver for low latency (best effort). True only when every
    // line setting succeeded; a port that opened stays held even when a setting then failed,
    // and the next open closes it first.
    bool OpenModulePort(const QString &name);

    // What the last open's request for low latency gave.
    const LowLatencyResult &LowLatency() const { return m_lowLatency; }

    // Gives the held port back to the system; does nothing when no port is held.
    void CloseModulePort();

    PortState State() const { return m_state; }

    // Why the last open failed, for the user: the port name, its device path and the system's
    // reason, e.g. "cannot open port COM1 (/dev/ttyS0): No such file or directory".
    QString LastErrorText() const { return m_errorText; }
    // The kind of the last open's failure, so that the program can tell the user what to do
    // about it (a missing device, a permission, a port another program holds).
    QSerialPort::SerialPortError LastOpenError() const { return m_openError; }

    bool WriteByte(std::uint8_t byte) override;
    std::optional<std::uint8_t> ReadByte() override;

private:
    bool ApplyLineSettings();
    bool HandOver(char byte, const QDeadlineTimer &deadline);
    bool WaitUntilTransmitted(const QDeadlineTimer &deadline) const;
    void NoteError(const QString &what);

    std::unique_ptr<QSerialPort> m_port;
    PortState m_state = PortState::NoPort;
    QString m_portName;
    QString m_errorText;
    QSerialPort::SerialPortError m_openError = QSerialPort::NoError;
    LowLatencyResult m_lowLatency;
};
