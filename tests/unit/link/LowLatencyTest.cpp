// Asking the driver for low latency is best effort: a port without the setting (a
// pseudo-terminal) opens as before, and the link says what the request gave.
#include "PseudoTerminal.h"
#include "link/LowLatency.h"
#include "link/SerialLink.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {

class LowLatencyTest : public ::testing::Test
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

    static std::unique_ptr<QCoreApplication> s_app;
};

std::unique_ptr<QCoreApplication> LowLatencyTest::s_app;

TEST_F(LowLatencyTest, APseudoTerminalOpensWithoutItAndTheLinkSaysSo)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.IsValid());
    SerialLink link;
    EXPECT_EQ(link.LowLatency().state, LowLatencyResult::State::NotAsked);
    ASSERT_TRUE(link.OpenModulePort(pty.SlavePath()));
    EXPECT_EQ(link.LowLatency().state, LowLatencyResult::State::Unsupported);
    EXPECT_EQ(LowLatencyNote(link.LowLatency()),
              "low latency: not available on this port (Inappropriate ioctl for device)");
    // The port works as before.
    ASSERT_TRUE(link.WriteByte(0x06));
    EXPECT_EQ(pty.Read(1, std::chrono::milliseconds(500)), "\x06");

    // A failed open forgets what an earlier open was told.
    EXPECT_FALSE(link.OpenModulePort(QStringLiteral("/nonexistent/port")));
    EXPECT_EQ(link.LowLatency().state, LowLatencyResult::State::NotAsked);
}

TEST(LowLatencyNote, SaysWhatTheDriverDid)
{
    using State = LowLatencyResult::State;
    EXPECT_EQ(LowLatencyNote({State::TurnedOn, {}}), "low latency: on");
    EXPECT_EQ(LowLatencyNote({State::AlreadyOn, {}}), "low latency: on (it was already)");
    EXPECT_EQ(LowLatencyNote({State::Refused, "Operation not permitted"}),
              "low latency: refused by the driver (Operation not permitted)");
}

} // namespace
