#include "link/SerialLink.h"
#include "PseudoTerminal.h"
#include "link/ModuleCheck.h"
#include "link/PortName.h"
#include "link/PortOpenError.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <memory>
#include <termios.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

TEST(PortName, SystemLocations)
{
    struct Case
    {
        const char *name;
        QString location;
    };
    const Case cases[] = {
        {"COM1", "/dev/ttyS0"},
        {"COM2", "/dev/ttyS1"},
        {"com10", "/dev/ttyS9"},
        {"ttyUSB0", "/dev/ttyUSB0"},
        {"COM0", "/dev/COM0"},
        {"COM1a", "/dev/COM1a"},
        {"COM12345678901", "/dev/COM12345678901"}, // passed whole, never cut
        {"/tmp/tolm/module-link", "/tmp/tolm/module-link"},
        {"pts/3", QDir::currentPath() + "/pts/3"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ModulePortSystemLocation(c.name), c.location) << c.name;
    }
}

// The serial port class wants an application object for its notifiers, as in tolm-cli.
class SerialLinkTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "link_serial_tests";
        static char *argv[] = {name, nullptr};
        s_app = std::make_unique<QCoreApplication>(argc, argv);
    }
    static void TearDownTestSuite() { s_app.reset(); }

    void SetUp() override { ASSERT_TRUE(m_pty.IsValid()); }

    static std::unique_ptr<QCoreApplication> s_app;
    PseudoTerminal m_pty;
};

std::unique_ptr<QCoreApplication> SerialLinkTest::s_app;

TEST_F(SerialLinkTest, OpensWithTheModulesLineSettings)
{
    // A descriptor of our own on the same terminal shows the settings the link applied.
    const int observer = ::open(m_pty.SlavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(observer, 0);
    SerialLink link;
    EXPECT_TRUE(link.OpenModulePort(m_pty.SlavePath()));
    EXPECT_EQ(link.State(), PortState::Held);
    termios settings{};
    ASSERT_EQ(::tcgetattr(observer, &settings), 0);
    EXPECT_EQ(::cfgetospeed(&settings), B9600);
    EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(settings.c_cflag & (PARENB | CSTOPB), 0u);
    // The pseudo-terminal keeps the hardware flow control flag (and ignores it).
    EXPECT_NE(settings.c_cflag & CRTSCTS, 0u);
    ::close(observer);
}

TEST_F(SerialLinkTest, BytesGoBothWaysAndALateByteWaitsForTheNextRead)
{
    SerialLink link;
    ASSERT_TRUE(link.OpenModulePort(m_pty.SlavePath()));
    EXPECT_TRUE(link.SendChars("\x07"
                               "AB"));
    EXPECT_EQ(m_pty.Read(3, 500ms), "\x07"
                                    "AB");

    ASSERT_TRUE(m_pty.Write("\xAA\x20\x21"));
    std::string reply;
    EXPECT_TRUE(link.ReceiveChars(1, reply));
    EXPECT_EQ(reply, "\xAA");
    EXPECT_TRUE(link.ReadAck());
    EXPECT_FALSE(link.ReadAck()) << "0x21 is not the acknowledge byte";

    EXPECT_EQ(link.ReadByte(), std::nullopt);
    ASSERT_TRUE(m_pty.Write("\x46"));
    EXPECT_EQ(link.ReadByte(), 0x46) << "a byte that came after its read gave up is kept";
}

TEST_F(SerialLinkTest, ReadGivesUpAfterAQuarterSecond)
{
    SerialLink link;
    ASSERT_TRUE(link.OpenModulePort(m_pty.SlavePath()));
    QElapsedTimer timer;
    timer.start();
    std::string reply;
    EXPECT_FALSE(link.ReceiveChars(4, reply));
    const qint64 elapsed = timer.elapsed();
    EXPECT_TRUE(reply.empty());
    EXPECT_GE(elapsed, 240) << "the first missing byte ends the reply";
    EXPECT_LT(elapsed, 450) << "and the reply does not wait for the other three";
}

// The module holding CTS off, as a pseudo-terminal shows it: output stopped at the line.
class HeldLine
{
public:
    explicit HeldLine(const QString &slavePath)
        : m_fd(::open(slavePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {}
    ~HeldLine()
    {
        Release();
        ::close(m_fd);
    }
    bool IsOpen() const { return m_fd >= 0; }
    void Hold() { ::tcflow(m_fd, TCOOFF); }
    void Release() { ::tcflow(m_fd, TCOON); }
    // Fills the terminal until it takes no more: a peer that never reads. The kernel moves
    // bytes on to the reader's side a moment after they are written, which makes room again,
    // so it is filled until a pause frees none.
    void Fill()
    {
        const std::string filler(256, '\x55');
        bool tookSome = true;
        while (tookSome) {
            tookSome = false;
            while (::write(m_fd, filler.data(), filler.size()) > 0) {
                tookSome = true;
            }
            std::this_thread::sleep_for(20ms);
        }
    }

private:
    int m_fd;
};

TEST_F(SerialLinkTest, AByteThatCannotLeaveFailsAfterItsLimitAndNeverArrives)
{
    struct Case
    {
        const char *name;
        void (*block)(HeldLine &);
    };
    const Case cases[] = {
        {"CTS held off", [](HeldLine &line) { line.Hold(); }},
        {"nobody reads the terminal", [](HeldLine &line) { line.Fill(); }},
    };
    for (const Case &c : cases) {
        PseudoTerminal pty;
        HeldLine line(pty.SlavePath());
        ASSERT_TRUE(line.IsOpen());
        SerialLink link;
        ASSERT_TRUE(link.OpenModulePort(pty.SlavePath()));
        c.block(line);
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(link.WriteByte(0x07)) << c.name;
        EXPECT_GE(timer.elapsed(), kByteTimeoutMs - 10) << c.name;
        EXPECT_LT(timer.elapsed(), kByteTimeoutMs + 200) << c.name;

        line.Release();
        const std::string before = pty.Read(1 << 16, 200ms);
        EXPECT_EQ(before.find('\x07'), std::string::npos) << c.name << ": the refused byte";
        EXPECT_TRUE(link.WriteByte(0x06)) << c.name << ": the line works again";
        EXPECT_EQ(pty.Read(1, 500ms), "\x06") << c.name;
    }
}

TEST_F(SerialLinkTest, BytesHeldBrieflyAllLeaveInOrder)
{
    struct Case
    {
        const char *name;
        std::chrono::milliseconds held;
    };
    const Case cases[] = {
        {"never held", 0ms},
        {"held for part of the time limit now and then", 60ms},
    };
    std::string sent;
    for (int i = 0; i < 64; ++i) {
        sent.push_back(static_cast<char>(i * 4 + 1));
    }
    for (const Case &c : cases) {
        PseudoTerminal pty;
        HeldLine line(pty.SlavePath());
        SerialLink link;
        ASSERT_TRUE(link.OpenModulePort(pty.SlavePath()));
        std::atomic<bool> done = false;
        std::thread module([&] {
            while (c.held > 0ms && !done) {
                line.Hold();
                std::this_thread::sleep_for(c.held);
                line.Release();
                std::this_thread::sleep_for(c.held / 4);
            }
        });
        EXPECT_TRUE(link.SendChars(sent)) << c.name;
        done = true;
        module.join();
        EXPECT_EQ(pty.Read(sent.size() + 1, 500ms), sent) << c.name;
    }
}

TEST_F(SerialLinkTest, PresenceCheckWithNothingAttached)
{
    SerialLink link;
    ASSERT_TRUE(link.OpenModulePort(m_pty.SlavePath()));
    ProgrammerModule module(link);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(ModulePresent(module));
    EXPECT_LT(timer.elapsed(), 550);
    EXPECT_EQ(m_pty.Read(1, 100ms), "\x07");
}

TEST_F(SerialLinkTest, OpenOfAMissingPortFailsAndTransfersFailAtOnce)
{
    QTemporaryDir dir;
    SerialLink link;
    const QString missing = dir.filePath("no-such-port");
    EXPECT_FALSE(link.OpenModulePort(missing));
    EXPECT_EQ(link.State(), PortState::OpenFailed);
    EXPECT_TRUE(link.LastErrorText().contains(missing)) << link.LastErrorText().toStdString();

    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(link.WriteByte(0x07));
    EXPECT_EQ(link.ReadByte(), std::nullopt);
    EXPECT_LT(timer.elapsed(), 50);

    link.CloseModulePort();
    EXPECT_EQ(link.State(), PortState::OpenFailed) << "only the next open leaves this state";
    EXPECT_TRUE(link.OpenModulePort(m_pty.SlavePath()));
    EXPECT_EQ(link.State(), PortState::Held);
}

TEST_F(SerialLinkTest, APortHeldByAnotherProgramSaysSo)
{
    SerialLink holder;
    ASSERT_TRUE(holder.OpenModulePort(m_pty.SlavePath())) << holder.LastErrorText().toStdString();
    SerialLink latecomer;
    EXPECT_FALSE(latecomer.OpenModulePort(m_pty.SlavePath()));
    EXPECT_TRUE(latecomer.LastErrorText().endsWith(": in use by another program"))
        << latecomer.LastErrorText().toStdString();
}

TEST(PortOpenFailure, OnlyAPortHeldElsewhereIsCalledInUse)
{
    struct Case
    {
        QSerialPort::SerialPortError error;
        QString systemText;
        QString reason;
    };
    const QString inUse = QStringLiteral("in use by another program");
    const Case cases[] = {
        {QSerialPort::PermissionError, "Permission error while locking the device", inUse},
        {QSerialPort::PermissionError, QString::fromLocal8Bit(std::strerror(EBUSY)), inUse},
        {QSerialPort::PermissionError, "Permission denied", "Permission denied"},
        {QSerialPort::DeviceNotFoundError, "No such file or directory",
         "No such file or directory"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PortOpenFailureReason(c.error, c.systemText), c.reason)
            << c.systemText.toStdString();
}

TEST_F(SerialLinkTest, OpensThroughASymlink)
{
    QTemporaryDir dir;
    const QString linkPath = dir.filePath("module");
    ASSERT_TRUE(QFile::link(m_pty.SlavePath(), linkPath));
    SerialLink link;
    ASSERT_TRUE(link.OpenModulePort(linkPath)) << link.LastErrorText().toStdString();
    EXPECT_TRUE(link.WriteByte(0x06));
    EXPECT_EQ(m_pty.Read(1, 500ms), "\x06");
}

TEST_F(SerialLinkTest, CloseTwiceClosesOnceAndReopenReleasesTheOldPort)
{
    PseudoTerminal other;
    SerialLink first;
    ASSERT_TRUE(first.OpenModulePort(m_pty.SlavePath()));
    ASSERT_TRUE(first.OpenModulePort(other.SlavePath()));

    // The first port was given back by the second open, so someone else can have it.
    SerialLink second;
    ASSERT_TRUE(second.OpenModulePort(m_pty.SlavePath())) << second.LastErrorText().toStdString();

    first.CloseModulePort();
    EXPECT_EQ(first.State(), PortState::NoPort);
    first.CloseModulePort();
    EXPECT_EQ(first.State(), PortState::NoPort);
    EXPECT_FALSE(first.WriteByte(0x07));

    // The second close disturbed nobody.
    EXPECT_TRUE(second.WriteByte(0x07));
    EXPECT_EQ(m_pty.Read(1, 500ms), "\x07");
}

} // namespace
