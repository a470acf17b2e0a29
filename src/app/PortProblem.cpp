#include "PortProblem.h"

#include "link/PortName.h"
#include "link/SerialLink.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Serial devices on Debian and most distributions belong to this group.
const QString kUsualSerialGroup = QStringLiteral("dialout");

// Opens the device the way the serial port does (without becoming its controlling terminal
// and without waiting for carrier) and closes it at once; the errno says why it fails.
PortFault ProbeDevice(const QString &location)
{
    const int fd = ::open(QFile::encodeName(location).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        // The device opens for us, so the refusal was the lock file another program holds.
        ::close(fd);
        return PortFault::HeldByOther;
    }
    switch (errno) {
    case EACCES:
    case EPERM:
        return PortFault::NoPermission;
    case EBUSY:
        return PortFault::HeldByOther;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return PortFault::Missing;
    default:
        return PortFault::Other;
    }
}

// The group that owns the port's device, which the user must belong to.
QString SerialGroup(const QString &location)
{
    const QString group = QFileInfo(location).group();
    return group.isEmpty() || group == QStringLiteral("root") ? kUsualSerialGroup : group;
}

QString Remedy(PortFault fault, const QString &location)
{
    switch (fault) {
    case PortFault::Missing:
        return QStringLiteral("There is no such device. Check that the programmer's serial "
                              "adapter is plugged in, or choose another port in Options.");
    case PortFault::NoPermission: {
        const QString group = SerialGroup(location);
        return QStringLiteral("Your user may not use this port. Add it to the group \"%1\" "
                              "that owns the port (usually dialout):\n"
                              "    sudo usermod -aG %1 $USER\n"
                              "then log out and log in again.")
            .arg(group);
    }
    case PortFault::HeldByOther:
        return QStringLiteral("The port is in use by another program. Close that program "
                              "or release the port there, then press Connect again.");
    case PortFault::Other:
        break;
    }
    return {};
}

QString Capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

} // namespace

PortFault ClassifyOpenFailure(QSerialPort::SerialPortError error, const QString &location)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return PortFault::Missing;
    case QSerialPort::PermissionError:
        return ProbeDevice(location);
    default:
        return PortFault::Other;
    }
}

QString PortDisplayName(const QString &name)
{
    const QString location = ModulePortSystemLocation(name);
    return location == name ? name : QStringLiteral("%1 (%2)").arg(name, location);
}

QString OpenFailureDetail(const QString &portName, const SerialLink &link)
{
    const QString location = ModulePortSystemLocation(portName);
    QString detail = Capitalised(link.LastErrorText());
    if (detail.isEmpty())
        detail = QStringLiteral("Cannot open port %1.").arg(PortDisplayName(portName));
    const QString remedy = Remedy(ClassifyOpenFailure(link.LastOpenError(), location), location);
    if (!remedy.isEmpty())
        detail += QStringLiteral("\n\n") + remedy;
    return detail;
}

QString NoAnswerDetail(const QString &portName)
{
    return QStringLiteral("Port %1 is open, but no programmer module answered on it. Check "
                          "that the module is powered and cabled to this port.")
        .arg(PortDisplayName(portName));
}

QString NotOpenReason(const QString &portName, const SerialLink &link)
{
    if (link.State() != PortState::OpenFailed)
        return QStringLiteral("it has been released. Press Connect to open it again.");
    const QString location = ModulePortSystemLocation(portName);
    switch (ClassifyOpenFailure(link.LastOpenError(), location)) {
    case PortFault::Missing:
        return QStringLiteral("there is no such device. Plug in the adapter or choose another "
                              "port in Options, then Connect.");
    case PortFault::NoPermission:
        return QStringLiteral("permission denied. Add your user to the %1 group, then Connect.")
            .arg(SerialGroup(location));
    case PortFault::HeldByOther:
        return QStringLiteral("another program holds it. Close that program, then Connect.");
    case PortFault::Other:
        break;
    }
    const QString reason = link.LastErrorText();
    return (reason.isEmpty() ? QStringLiteral("it could not be opened") : reason) +
           QStringLiteral(". Press Connect to try again.");
}
