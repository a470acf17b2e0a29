#pragma once

#include <QSerialPort>
#include <QString>

class SerialLink;

// What stood in the way of a port, in terms the user can act on.
enum class PortFault {
    Missing,      // no such device: the adapter is unplugged or the name is wrong
    NoPermission, // the device exists but this user may not open it
    HeldByOther,  // another program has the port open
    Other,
};

// Tells the faults apart. Qt reports a permission error alike for a device the user may not
// open, for a port another program opened exclusively, and for a port locked by another Qt
// program; the device itself is asked which of these it is.
PortFault ClassifyOpenFailure(QSerialPort::SerialPortError error, const QString &location);

// The name as the user gave it, with the device it stands for when that differs:
// "COM1 (/dev/ttyS0)", "ttyUSB0 (/dev/ttyUSB0)", "/tmp/link".
QString PortDisplayName(const QString &name);

// The detail text of "COM Port Error": the port, the system's reason and what to do.
QString OpenFailureDetail(const QString &portName, const SerialLink &link);

// The detail text of "Programmer Device NOT Connected" when the port opened but the module
// gave no acknowledge.
QString NoAnswerDetail(const QString &portName);

// Why the module's port is not open, in a few words and with the one thing to do, for the
// box that stands in for any chip work: "permission denied. Add your user to the dialout
// group, then Connect."
QString NotOpenReason(const QString &portName, const SerialLink &link);
