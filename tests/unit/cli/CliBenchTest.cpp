// What tolm-cli adds for a production bench: the port list, the file of each port, the device
// ID message and when a fast write is refused.
#include "cli/chipwork/FastWrite.h"
#include "cli/options/PortListOption.h"
#include "cli/session/DeviceIdCheck.h"
#include "device/catalogue/CatalogueInUse.h"
#include "engine/DeviceId.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(CliBench, PortLists)
{
    QTemporaryDir dir;
    const QString link = dir.filePath("module");
    ASSERT_TRUE(QFile::link("/dev/null", link));
    QStringList many;
    for (int i = 0; i < 17; ++i)
        many << QStringLiteral("ttyUSB%1").arg(i);
    const QString seventeen = many.join(',');
    const struct
    {
        QString text;
        QStringList ports; // empty: refused
        const char *error;
    } cases[] = {
        {"ttyUSB0", {"ttyUSB0"}, ""},
        {"ttyUSB0, ttyUSB1 ,COM1", {"ttyUSB0", "ttyUSB1", "COM1"}, ""},
        {"ttyUSB0,,ttyUSB1", {}, "has an empty item"},
        {"ttyUSB0,", {}, "has an empty item"},
        {"ttyUSB0,/dev/ttyUSB0", {}, "names one port twice: 'ttyUSB0' and '/dev/ttyUSB0'"},
        {"COM1,/dev/ttyS0", {}, "names one port twice"},
        {"/dev/null," + link, {}, "names one port twice"}, // a link to the same device
        {seventeen, {}, "names 17 ports; at most 16"},
    };
    for (const auto &c : cases) {
        QString error;
        const auto ports = ParsePortList(c.text, error);
        if (c.ports.isEmpty()) {
            EXPECT_FALSE(ports.has_value()) << c.text.toStdString();
            EXPECT_TRUE(error.contains(c.error)) << error.toStdString();
        } else {
            EXPECT_EQ(ports, c.ports) << error.toStdString();
        }
    }
    QString error;
    EXPECT_EQ(ParsePortList(many.mid(0, 16).join(','), error), many.mid(0, 16));
}

TEST(CliBench, EachPortGetsItsOwnFile)
{
    const struct
    {
        const char *path;
        const char *port;
        const char *expected;
    } cases[] = {
        {"board.hex", "ttyUSB1", "board-ttyUSB1.hex"},
        {"out/board.v2.hex", "/dev/ttyUSB0", "out/board.v2-ttyUSB0.hex"},
        {"board", "COM2", "board-COM2"},
        {"dir.d/board", "ttyS0", "dir.d/board-ttyS0"},
        {".hex", "ttyS0", ".hex-ttyS0"},
        {"b.hex", "/tmp/bench 1/module", "b-tmp_bench_1_module.hex"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PerPortPath(c.path, c.port), c.expected) << c.path << " " << c.port;
}

TEST(CliBench, SocketMismatchTexts)
{
    EXPECT_EQ(SocketMismatchText(DecodeDeviceId(0x09E0), "16f877"),
              "the socket holds a 16f876, not a 16f877");
    EXPECT_EQ(SocketMismatchText(DecodeDeviceId(0x09A7), "16f877"), ""); // any revision
    EXPECT_EQ(SocketMismatchText(DecodeDeviceId(0x3FFF), "16f628"),
              "the socket holds a part with the unknown device ID 3FFF, not a 16f628");
}

TEST(CliBench, FastWriteOnlyOnFlashPartsAndWholeChips)
{
    const auto whole = [](const DeviceRecord &d) {
        return HexAddressTexts{"0000", d.ProgMaxText, "00", d.DataMaxText};
    };
    const HexTargets every{.Program = true, .Data = true, .Config = true, .IDCode = true};
    const struct
    {
        const char *device;
        HexTargets targets;
        const char *progEnd; // nullptr: the whole range
        const char *refusal; // nullptr: allowed
    } cases[] = {
        {"16f877", every, nullptr, nullptr},
        {"16f84", every, "3ff", nullptr}, // the same range, written otherwise
        {"16c62A",
         {.Program = true, .Config = true, .IDCode = true},
         nullptr,
         "the 16c62A is an EPROM part"},
        {"12c508",
         {.Program = true, .Config = true, .IDCode = true},
         nullptr,
         "the 12c508 is an EPROM part"},
        {"16f877", {.Program = true, .Config = true, .IDCode = true}, nullptr, "leave out -t"},
        {"16f877", every, "0FFF", "leave out -t, --prog-range"},
    };
    for (const auto &c : cases) {
        const DeviceRecord device = *FindDevice(c.device);
        HexAddressTexts addresses = whole(device);
        if (c.progEnd)
            addresses.ProgEnd = c.progEnd;
        const auto refusal = FastWriteRefusal(device, c.targets, addresses);
        ASSERT_EQ(refusal.has_value(), c.refusal != nullptr) << c.device;
        if (refusal) {
            EXPECT_TRUE(refusal->contains(c.refusal)) << refusal->toStdString();
        }
    }
}

} // namespace
