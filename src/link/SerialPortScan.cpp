#include "link/SerialPortScan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

QString ReadAttribute(const QString &dir, const char *name)
{
    QFile file(dir + QLatin1Char('/') + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}

// The last part of where a sysfs link points: the driver or bus name.
QString LinkTargetName(const QString &link)
{
    const QString target = QFileInfo(link).canonicalFilePath();
    return target.isEmpty() ? QString() : QFileInfo(target).fileName();
}

// The device the port's driver is bound to. Newer kernels put a serial-base "port" and
// "ctrl" device between a UART and its tty; the driver worth naming is the UART's.
QString DriverDir(QString dir, const QString &sysfs)
{
    while (LinkTargetName(dir + QStringLiteral("/subsystem")) == QLatin1String("serial-base") &&
           dir.startsWith(sysfs) && dir != sysfs)
        dir = QFileInfo(dir).path();
    return dir;
}

// The USB device above an interface or port: the nearest folder with idVendor.
QString UsbDeviceDir(QString dir, const QString &sysfs)
{
    for (; dir.startsWith(sysfs) && dir.size() > sysfs.size(); dir = QFileInfo(dir).path()) {
        if (QFileInfo::exists(dir + QStringLiteral("/idVendor")))
            return dir;
    }
    return {};
}

PortAccess OwnAccess(const QString &path)
{
    PortAccess access;
    const QByteArray native = QFile::encodeName(path);
    struct stat info = {};
    access.exists = ::stat(native.constData(), &info) == 0;
    if (!access.exists)
        return access;
    access.mayOpen = ::access(native.constData(), R_OK | W_OK) == 0;
    access.groupMayOpen = (info.st_mode & S_IRGRP) != 0 && (info.st_mode & S_IWGRP) != 0;
    if (const group *g = ::getgrgid(info.st_gid))
        access.group = QString::fromLocal8Bit(g->gr_name);
    else
        access.group = QString::number(info.st_gid);
    return access;
}

// `sysfs` is the canonical path of roots.sysfs, which the links of the tty resolve into.
std::optional<SerialPortFacts> DescribePort(const QString &ttyDir, const SerialPortScanRoots &roots,
                                            const QString &sysfs)
{
    const QString device = QFileInfo(ttyDir + QStringLiteral("/device")).canonicalFilePath();
    if (device.isEmpty())
        return std::nullopt; // a virtual terminal or a pseudo-terminal: no hardware behind it
    // The kernel keeps the legacy 8250 ports in sysfs whether or not a UART answers there.
    if (ReadAttribute(ttyDir, "type") == QLatin1String("0"))
        return std::nullopt;
    SerialPortFacts port;
    port.name = QFileInfo(ttyDir).fileName();
    port.path = roots.dev + QLatin1Char('/') + port.name;
    port.driver = LinkTargetName(DriverDir(device, sysfs) + QStringLiteral("/driver"));
    bool isNumber = false;
    const int latency = ReadAttribute(device, "latency_timer").toInt(&isNumber);
    if (isNumber)
        port.latencyTimerMs = latency;
    const QString usb = UsbDeviceDir(device, sysfs);
    if (!usb.isEmpty()) {
        port.usbId =
            ReadAttribute(usb, "idVendor") + QLatin1Char(':') + ReadAttribute(usb, "idProduct");
        port.usbSerial = ReadAttribute(usb, "serial");
        port.description = ReadAttribute(usb, "product");
    }
    port.access = roots.access ? roots.access(port.path) : OwnAccess(port.path);
    return port;
}

// Sorts ttyS2 before ttyS10: the name without its number, then the number.
std::pair<QString, int> NameKey(const QString &name)
{
    qsizetype digits = name.size();
    while (digits > 0 && name[digits - 1].isDigit())
        --digits;
    return {name.left(digits), name.mid(digits).toInt()};
}

} // namespace

std::vector<SerialPortFacts> ScanSerialPorts(const SerialPortScanRoots &roots)
{
    const QDir ttyClass(roots.sysfs + QStringLiteral("/class/tty"));
    const QString sysfs = QFileInfo(roots.sysfs).canonicalFilePath();
    std::vector<SerialPortFacts> ports;
    for (const QString &name : ttyClass.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (auto port = DescribePort(ttyClass.filePath(name), roots, sysfs))
            ports.push_back(std::move(*port));
    }
    std::sort(ports.begin(), ports.end(),
              [](const auto &a, const auto &b) { return NameKey(a.name) < NameKey(b.name); });
    return ports;
}

QString PortAccessText(const PortAccess &access, const QString &path)
{
    if (!access.exists)
        return QStringLiteral("no: %1 does not exist").arg(path);
    if (access.mayOpen)
        return QStringLiteral("yes");
    if (access.groupMayOpen)
        return QStringLiteral("no: sudo usermod -aG %1 $USER, then log in again").arg(access.group);
    return QStringLiteral("no: only its owner may open it (a udev rule can give it to the "
                          "group dialout)");
}
