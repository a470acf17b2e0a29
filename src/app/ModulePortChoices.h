#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A serial port the system reports, as QSerialPortInfo describes it.
struct SystemPort
{
    QString name;        // "ttyUSB0"
    QString description; // "FT232R USB UART", often empty for built-in ports
};

// One item of the Options dialog's "Module Port" group: the name stored in the settings and
// handed to the link, and the text the user sees.
struct PortChoice
{
    QString name;
    QString label;
    bool typed = false; // one the user typed before, which may be struck off the list
    bool operator==(const PortChoice &) const = default;
};

// The serial ports of this machine, as Qt finds them now (adapters come and go).
QList<SystemPort> SystemSerialPorts();

// COM1 and COM2, each when its device (/dev/ttyS0, /dev/ttyS1) exists on this machine.
QStringList ExistingComPorts();

// COM1 and COM2 first, those of them in `comPorts` (whose devices exist); then every port the
// system reports that is not one of those under another name (ttyS0 is COM1); then the ports
// the user typed before (`typedNames`, newest first) that none of these is; then the current
// name when none of these carries it (COM1 on a machine without it, a path set by hand, a
// simulator link), so that OK keeps it instead of turning it into another port. An empty
// current name adds nothing.
QList<PortChoice> ModulePortChoices(const QList<SystemPort> &systemPorts,
                                    const QString &currentName, const QStringList &typedNames = {},
                                    const QStringList &comPorts = {QStringLiteral("COM1"),
                                                                   QStringLiteral("COM2")});
