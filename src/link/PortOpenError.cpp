#include "link/PortOpenError.h"

#include <cerrno>
#include <cstring>

QString PortOpenFailureReason(QSerialPort::SerialPortError error, const QString &systemText)
{
    const bool lockHeld =
        systemText == QSerialPort::tr("Permission error while locking the device");
    // EBUSY: the device was opened for exclusive use (TIOCEXCL) by its present holder.
    const bool busy = systemText == QString::fromLocal8Bit(std::strerror(EBUSY));
    if (error == QSerialPort::PermissionError && (lockHeld || busy))
        return QStringLiteral("in use by another program");
    return systemText;
}
