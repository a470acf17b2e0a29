#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

// Whether this user may open a device node, and what to do about it when not.
struct PortAccess
{
    bool exists = false;
    bool mayOpen = false;
    QString group;             // the node's group ("dialout")
    bool groupMayOpen = false; // members of that group may read and write it
};

// One serial port as the kernel describes it in sysfs.
struct SerialPortFacts
{
    QString name;                      // ttyUSB0
    QString path;                      // /dev/ttyUSB0
    QString description;               // the USB product name; empty for a built-in port
    QString usbId;                     // vendor:product in hex ("0403:6001"); empty when not on USB
    QString usbSerial;                 // the adapter's serial number, where it has one
    QString driver;                    // the kernel driver ("ftdi_sio", "cdc_acm", "serial")
    std::optional<int> latencyTimerMs; // FTDI adapters: the receive latency timer
    PortAccess access;
};

// Where the scan looks: the roots are replaceable so tests can hand it a fake tree.
struct SerialPortScanRoots
{
    QString sysfs = QStringLiteral("/sys");
    QString dev = QStringLiteral("/dev");
    // The access check of a device node; empty: this process's own (access(2) and stat(2)).
    std::function<PortAccess(const QString &path)> access;
};

// Every serial port the kernel reports, in name order (ttyS2 before ttyS10): each tty in
// <sysfs>/class/tty with a device behind it. Virtual terminals, pseudo-terminals and
// built-in 8250 ports with no UART present (type 0) are left out.
std::vector<SerialPortFacts> ScanSerialPorts(const SerialPortScanRoots &roots = {});

// "yes", or why not and the remedy: "no: sudo usermod -aG dialout $USER, then log in again".
QString PortAccessText(const PortAccess &access, const QString &path);
