// The ports listing against a fake sysfs tree laid out as the kernel lays out a USB FTDI
// adapter, a CDC-ACM board, a built-in UART behind the newer serial-base devices, a legacy
// port with no UART, and a virtual terminal.
#include "link/SerialPortScan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

namespace {

class FakeSysfs
{
public:
    FakeSysfs() { EXPECT_TRUE(m_dir.isValid()); }

    QString Root() const { return m_dir.filePath("sys"); }

    void Attribute(const QString &dir, const char *name, const QByteArray &value)
    {
        QDir().mkpath(Root() + dir);
        QFile file(Root() + dir + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(value + '\n');
    }

    // A symlink at `link` to `target`, both under the root, as relative a link as sysfs has.
    void Link(const QString &link, const QString &target)
    {
        QDir().mkpath(Root() + target);
        const QString full = Root() + link;
        QDir().mkpath(QFileInfo(full).path());
        ASSERT_TRUE(QFile::link(QFileInfo(full).dir().relativeFilePath(Root() + target), full));
    }

    // A tty in /sys/class/tty whose device is `device` (empty: a virtual one).
    void Tty(const char *name, const QString &device)
    {
        const QString dir = QStringLiteral("/devices/virtual/tty/") + QLatin1String(name);
        QDir().mkpath(Root() + dir);
        Link(QStringLiteral("/class/tty/") + QLatin1String(name), dir);
        if (!device.isEmpty())
            Link(dir + QStringLiteral("/device"), device);
    }

    void Driver(const QString &device, const char *bus, const char *driver)
    {
        Link(device + QStringLiteral("/driver"),
             QStringLiteral("/bus/%1/drivers/%2").arg(QLatin1String(bus), QLatin1String(driver)));
    }

private:
    QTemporaryDir m_dir;
};

TEST(SerialPortScan, ListsTheHardwarePortsWithWhatSysfsSaysOfThem)
{
    FakeSysfs sys;
    const QString usb1 = "/devices/pci0000:00/0000:00:14.0/usb1/1-1";
    sys.Attribute(usb1, "idVendor", "0403");
    sys.Attribute(usb1, "idProduct", "6001");
    sys.Attribute(usb1, "serial", "A50285BI");
    sys.Attribute(usb1, "product", "FT232R USB UART");
    const QString ftdiPort = usb1 + "/1-1:1.0/ttyUSB0";
    sys.Attribute(ftdiPort, "latency_timer", "16");
    sys.Driver(ftdiPort, "usb-serial", "ftdi_sio");
    sys.Tty("ttyUSB0", ftdiPort);

    const QString usb2 = "/devices/pci0000:00/0000:00:14.0/usb1/1-2";
    sys.Attribute(usb2, "idVendor", "2341");
    sys.Attribute(usb2, "idProduct", "0043");
    sys.Attribute(usb2, "product", "Arduino Uno");
    sys.Driver(usb2 + "/1-2:1.0", "usb", "cdc_acm");
    sys.Tty("ttyACM0", usb2 + "/1-2:1.0");

    // Newer kernels: UART (pnp driver "serial") -> serial-base ctrl -> serial-base port -> tty.
    const QString uart = "/devices/pnp0/00:00";
    sys.Driver(uart, "pnp", "serial");
    sys.Link(uart + "/00:00:0/subsystem", "/bus/serial-base");
    sys.Link(uart + "/00:00:0/00:00:0.0/subsystem", "/bus/serial-base");
    sys.Driver(uart + "/00:00:0/00:00:0.0", "serial-base", "port");
    sys.Tty("ttyS10", uart + "/00:00:0/00:00:0.0");
    sys.Attribute("/devices/virtual/tty/ttyS10", "type", "4");
    // A legacy port the kernel keeps though no UART answers there.
    sys.Tty("ttyS2", "/devices/platform/serial8250");
    sys.Attribute("/devices/virtual/tty/ttyS2", "type", "0");
    sys.Tty("tty0", {});

    const std::map<QString, PortAccess> access = {
        {"/dev/ttyUSB0", {true, false, "dialout", true}},
        {"/dev/ttyACM0", {true, true, "dialout", true}},
        {"/dev/ttyS10", {true, false, "root", false}},
    };
    SerialPortScanRoots roots;
    roots.sysfs = sys.Root();
    roots.access = [&access](const QString &path) {
        const auto found = access.find(path);
        return found == access.end() ? PortAccess{} : found->second;
    };
    const std::vector<SerialPortFacts> ports = ScanSerialPorts(roots);

    struct Expected
    {
        const char *name;
        const char *description;
        const char *usbId;
        const char *usbSerial;
        const char *driver;
        std::optional<int> latency;
        const char *access;
    };
    const Expected expected[] = {
        {"ttyACM0", "Arduino Uno", "2341:0043", "", "cdc_acm", std::nullopt, "yes"},
        {"ttyS10", "", "", "", "serial", std::nullopt, "no: only its owner may open it"},
        {"ttyUSB0", "FT232R USB UART", "0403:6001", "A50285BI", "ftdi_sio", 16,
         "no: sudo usermod -aG dialout $USER, then log in again"},
    };
    ASSERT_EQ(ports.size(), std::size(expected));
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const SerialPortFacts &port = ports[i];
        const Expected &e = expected[i];
        EXPECT_EQ(port.name, e.name);
        EXPECT_EQ(port.path, QStringLiteral("/dev/") + e.name);
        EXPECT_EQ(port.description, e.description) << e.name;
        EXPECT_EQ(port.usbId, e.usbId) << e.name;
        EXPECT_EQ(port.usbSerial, e.usbSerial) << e.name;
        EXPECT_EQ(port.driver, e.driver) << e.name;
        EXPECT_EQ(port.latencyTimerMs, e.latency) << e.name;
        EXPECT_TRUE(PortAccessText(port.access, port.path).startsWith(e.access))
            << PortAccessText(port.access, port.path).toStdString();
    }
}

TEST(SerialPortScan, SortsByNameAndNumberAndSaysWhenANodeIsMissing)
{
    FakeSysfs sys;
    for (const char *name : {"ttyUSB10", "ttyUSB2", "ttyS1"})
        sys.Tty(name, QStringLiteral("/devices/platform/port-") + QLatin1String(name));
    SerialPortScanRoots roots;
    roots.sysfs = sys.Root();
    roots.dev = "/nonexistent-dev";
    const std::vector<SerialPortFacts> ports = ScanSerialPorts(roots);
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[0].name, "ttyS1");
    EXPECT_EQ(ports[1].name, "ttyUSB2");
    EXPECT_EQ(ports[2].name, "ttyUSB10");
    EXPECT_EQ(PortAccessText(ports[0].access, ports[0].path),
              "no: /nonexistent-dev/ttyS1 does not exist");
    EXPECT_TRUE(ScanSerialPorts({QStringLiteral("/nonexistent-sys"), {}, {}}).empty());
}

} // namespace
