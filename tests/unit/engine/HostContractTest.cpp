// The scripted host the engine tests rely on keeps the same contract as the real hosts.
#include "EngineHostContract.h"
#include "ScriptedEngineHost.h"

#include <QThread>

#include <gtest/gtest.h>

namespace {

TEST(EngineHostContract, ScriptedHost)
{
    ScriptedEngineHost host;
    host.onDelay = [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); };
    EngineHostUnderTest t{host,
                          [&](bool pause, bool close) {
                              host.pause = pause;
                              host.close = close;
                          },
                          [&](WriteErrorAnswer a) { host.writeErrorAnswers.enqueue(a); },
                          [&] { host.progStart = QStringLiteral("A_00"); }};
    EXPECT_EQ(CheckEngineHostContract(t), QStringList());
}

} // namespace
