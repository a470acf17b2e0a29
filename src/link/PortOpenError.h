#pragma once

#include <QSerialPort>
#include <QString>

// Why a port did not open, in the user's terms. Qt reports a port that another program holds
// (its lock file is taken, or the device was opened for exclusive use) as a permission
// error, "Permission error while locking the device", which sends users to check groups and
// file modes; the reason given here is "in use by another program". Other reasons are the
// system's text as it stands.
QString PortOpenFailureReason(QSerialPort::SerialPortError error, const QString &systemText);
