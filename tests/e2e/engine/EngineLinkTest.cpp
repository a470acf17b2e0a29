// The engine driving tolm-modsim through the real serial link on a pseudo-terminal: a chip
// written, verified and read back by both methods, and a module that falls silent or a line
// that dies in the middle of an operation.
#include "ModsimProcess.h"
#include "ScriptedEngineHost.h"

#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "engine/PicEngine.h"
#include "link/ProgrammerModule.h"
#include "link/SerialLink.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {

class EngineOverLink : public ::testing::TestWithParam<bool>
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "engine_e2e_tests";
        static char *argv[] = {name, nullptr};
        s_app = std::make_unique<QCoreApplication>(argc, argv);
    }
    static void TearDownTestSuite() { s_app.reset(); }

    void Connect(const QStringList &faults = {})
    {
        ASSERT_TRUE(m_modsim.Start("16f84", faults)) << m_modsim.Error().toStdString();
        ASSERT_TRUE(m_link.OpenModulePort(m_modsim.LinkPath()))
            << m_link.LastErrorText().toStdString();
        m_host.parallel = GetParam();
        m_host.progEnd = "001F";
        m_host.dataEnd = "0F";
    }

    static std::unique_ptr<QCoreApplication> s_app;
    ModsimProcess m_modsim{QStringLiteral(TOLM_MODSIM)};
    SerialLink m_link;
    ProgrammerModule m_module{m_link};
    ScriptedEngineHost m_host;
    DeviceRecord m_device = *FindDevice("16f84");
};
std::unique_ptr<QCoreApplication> EngineOverLink::s_app;

TEST_P(EngineOverLink, WriteVerifyAndReadBack)
{
    Connect();
    MemoryImage image;
    for (int a = 0; a <= 0x1F; ++a) {
        image.SetProgramWordText(a, FormatHex(0x2000 + a * 0x0101, 4));
    }
    for (int a = 0; a <= 0x0F; ++a) {
        image.SetDataByteText(a, FormatHex(0xF0 - a, 2));
    }
    image.IDCodeText = "C0DE";
    PicEngine engine(m_module, m_host, image, m_device);
    ASSERT_EQ(engine.PicWriteProgMem().outcome, EngineOutcome::Completed);
    ASSERT_EQ(engine.PicWriteDataMem().outcome, EngineOutcome::Completed);
    ASSERT_TRUE(engine.PicWriteIDCode(0xC0DE));
    ASSERT_TRUE(engine.PicWriteConfig(0x3FF2));
    EXPECT_EQ(engine.PicVerifyProgMem().outcome, EngineOutcome::Completed);
    EXPECT_EQ(engine.PicVerifyDataMem().outcome, EngineOutcome::Completed);

    MemoryImage fresh;
    PicEngine reader(m_module, m_host, fresh, m_device);
    ASSERT_EQ(reader.PicReadProgMem().outcome, EngineOutcome::Completed);
    ASSERT_EQ(reader.PicReadDataMem().outcome, EngineOutcome::Completed);
    for (int a = 0; a <= 0x1F; ++a) {
        EXPECT_EQ(fresh.GetProgramWordText(a), image.GetProgramWordText(a)) << a;
    }
    for (int a = 0; a <= 0x0F; ++a) {
        EXPECT_EQ(fresh.GetDataByteText(a), image.GetDataByteText(a)) << a;
    }
    EXPECT_EQ(reader.PicReadIDCode(), ChipResult<QString>(QStringLiteral("C0DE")));
    EXPECT_EQ(reader.PicReadConfig(), ChipResult<std::uint16_t>(0x3FF2));
}

TEST_P(EngineOverLink, ModuleFallingSilentFailsTheOperation)
{
    Connect({"--no-ack-from", "12"});
    MemoryImage image;
    PicEngine engine(m_module, m_host, image, m_device);
    const EngineResult result = engine.PicReadProgMem();
    EXPECT_EQ(result.outcome, EngineOutcome::CommunicationFailed);
    EXPECT_LT(result.wordsDone, 0x20);
}

TEST_P(EngineOverLink, LineDyingMidwayFailsTheOperation)
{
    Connect({"--dead-after", "200"});
    MemoryImage image;
    image.FillProgramImage("1234");
    // A Parallel write that is not acknowledged asks the user first; going on shows the
    // silence at the next exchange.
    for (int i = 0; i < 4; ++i) {
        m_host.writeErrorAnswers << WriteErrorAnswer::Ignore;
    }
    PicEngine engine(m_module, m_host, image, m_device);
    const EngineResult result = engine.PicWriteProgMem();
    EXPECT_FALSE(result.Succeeded());
    EXPECT_LT(result.wordsDone, 0x20);
}

INSTANTIATE_TEST_SUITE_P(Methods, EngineOverLink, ::testing::Values(true, false),
                         [](const auto &row) {
                             return std::string(row.param ? "Parallel" : "Serial");
                         });

} // namespace
