#include "link/SerialLink.h"

#include "link/OutputQueueWait.h"
#include "link/PortName.h"
#include "link/PortOpenError.h"

#include <QSerialPort>
#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr qint32 kModuleBaudRate = 9600;

int RemainingMs(const QDeadlineTimer &deadline)
{
    return static_cast<int>(deadline.remainingTime());
}

} // namespace

SerialLink::SerialLink() : m_port(std::make_unique<QSerialPort>()) {}

SerialLink::~SerialLink() = default;

bool SerialLink::OpenModulePort(const QString &name)
{
    CloseModulePort();
    m_errorText.clear();
    m_openError = QSerialPort::NoError;
    m_lowLatency = {};
    m_portName = name;
    m_port->setPortName(ModulePortSystemLocation(name));
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_state = PortState::OpenFailed;
        m_openError = m_port->error();
        NoteError(QStringLiteral("cannot open"));
        return false;
    }
    m_state = PortState::Held;
    if (!ApplyLineSettings()) {
        return false;
    }
    m_lowLatency = RequestLowLatency(static_cast<int>(m_port->handle()));
    return true;
}

void SerialLink::CloseModulePort()
{
    if (m_state != PortState::Held) {
        return;
    }
    m_port->close();
    m_state = PortState::NoPort;
}

bool SerialLink::ApplyLineSettings()
{
    // Each setting takes effect at once on the open port; the first that fails ends the open
    // with the port still held, like any other half-configured open.
    const bool applied =
        m_port->setBaudRate(kModuleBaudRate) && m_port->setDataBits(QSerialPort::Data8) &&
        m_port->setParity(QSerialPort::NoParity) && m_port->setStopBits(QSerialPort::OneStop) &&
        m_port->setFlowControl(QSerialPort::HardwareControl);
    if (!applied) {
        NoteError(QStringLiteral("cannot configure"));
    }
    return applied;
}

void SerialLink::NoteError(const QString &what)
{
    const QString location = ModulePortSystemLocation(m_portName);
    const QString port =
        location == m_portName ? m_portName : QStringLiteral("%1 (%2)").arg(m_portName, location);
    m_errorText =
        QStringLiteral("%1 port %2: %3")
            .arg(what, port, PortOpenFailureReason(m_port->error(), m_port->errorString()));
}

bool SerialLink::WriteByte(std::uint8_t byte)
{
    if (m_state != PortState::Held) {
        return false;
    }
    const QDeadlineTimer deadline(kByteTimeoutMs);
    if (HandOver(static_cast<char>(byte), deadline) && WaitUntilTransmitted(deadline)) {
        return true;
    }
    // The caller is told that this byte was not sent, so it must never reach the module later
    // (when CTS comes back) and shift the module's view of the exchange. Only this byte can be
    // waiting: every earlier one left before its own write returned.
    m_port->clear(QSerialPort::Output);
    return false;
}

bool SerialLink::HandOver(char byte, const QDeadlineTimer &deadline)
{
    // Straight to the driver: one byte at a time never needs the port object's own write
    // buffer, and going round it saves a wait for writability before every byte, a system
    // call that costs as much as the rest of the byte's handling.
    const int fd = static_cast<int>(m_port->handle());
    for (;;) {
        const ssize_t written = ::write(fd, &byte, 1);
        if (written == 1) {
            return true;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        pollfd writable{fd, POLLOUT, 0};
        ::poll(&writable, 1, RemainingMs(deadline));
    }
}

bool SerialLink::WaitUntilTransmitted(const QDeadlineTimer &deadline) const
{
    // The kernel accepts the byte at once and holds it in its output queue while the module
    // keeps CTS off; the byte has only left when that queue is empty.
    const int fd = static_cast<int>(m_port->handle());
    const auto queuedBytes = [fd]() -> std::optional<int> {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0) {
            return std::nullopt;
        }
        return queued;
    };
    return WaitForEmptyOutputQueue(queuedBytes, deadline);
}

std::optional<std::uint8_t> SerialLink::ReadByte()
{
    if (m_state != PortState::Held) {
        return std::nullopt;
    }
    const QDeadlineTimer deadline(kByteTimeoutMs);
    while (m_port->bytesAvailable() == 0) {
        if (deadline.hasExpired() || !m_port->waitForReadyRead(RemainingMs(deadline))) {
            break;
        }
    }
    char c = 0;
    if (!m_port->getChar(&c)) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(c);
}
