// Every device, by every method it offers, against the simulated chip: a random image written
// and read back into a fresh image comes back equal; verify passes, and fails at a changed
// word; blank check passes on a fresh chip and fails once written; EPROM locations written by
// the Serial method get one pulse plus three overprogramming pulses.
#include "EngineRig.h"

#include "device/HexText.h"
#include "device/catalogue/PartDefinition.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct DeviceMethod
{
    QString device;
    bool parallel;
};

std::vector<DeviceMethod> AllDeviceMethods()
{
    std::vector<DeviceMethod> all;
    for (const QString &name : SelectorDeviceNames()) {
        const DeviceRecord device = *FindDevice(name);
        if (!device.Part->confirmedOnHardware) {
            continue;
        }
        if (device.HasParallel) {
            all.push_back({name, true});
        }
        if (device.HasSerial) {
            all.push_back({name, false});
        }
    }
    return all;
}

std::uint16_t Max(const QString &text)
{
    return static_cast<std::uint16_t>(*ParseHexText(text));
}

class EngineRoundTrip : public ::testing::TestWithParam<DeviceMethod>
{
protected:
    void SetUp() override
    {
        rig = std::make_unique<EngineRig>(GetParam().device);
        rig->host.parallel = GetParam().parallel;
        rig->sim->SetKeepTranscript(false);
        progMax = Max(rig->device.ProgMaxText);
        wordMask = rig->sim->chip().Description().WordMask();
        hasData = rig->device.HasDataMemory != 0;
        dataMax = Max(rig->device.DataMaxText);
        calibration = rig->sim->chip().Description().calibrationWord;
        rig->host.progEnd = FormatHex(progMax, 4);
        rig->host.dataEnd = FormatHex(dataMax, 2);
    }

    // Random words of the device's width; the factory calibration word is kept as it is, as
    // an EPROM cell can only lose bits.
    void FillRandomImage(std::mt19937 &random)
    {
        for (int a = 0; a <= progMax; ++a) {
            rig->image.SetProgramWordText(a, FormatHex(random() & wordMask, 4));
        }
        if (calibration) {
            rig->image.SetProgramWordText(progMax, FormatHex(*calibration, 4));
        }
        for (int a = 0; a <= dataMax; ++a) {
            rig->image.SetDataByteText(a, FormatHex(random() & 0xFF, 2));
        }
        rig->image.IDCodeText = FormatHex(random() & 0xFFFF, 4);
        // Any options, but no code protection: protected memory reads back as zeros.
        const auto &chip = rig->sim->chip().Description();
        rig->image.ConfigWord = static_cast<std::uint16_t>(
            (random() | chip.codeProtectMask | chip.dataProtectMask) & wordMask);
    }

    std::unique_ptr<EngineRig> rig;
    std::uint16_t progMax = 0;
    std::uint16_t wordMask = 0;
    bool hasData = false;
    std::uint16_t dataMax = 0;
    std::optional<std::uint16_t> calibration;
};

TEST_P(EngineRoundTrip, WriteReadVerifyAndBlankCheck)
{
    std::mt19937 random(static_cast<unsigned>(qHash(GetParam().device)) + GetParam().parallel);
    PicEngine &engine = rig->engine;

    // A fresh chip is blank, apart from a factory calibration word at the top.
    rig->host.progEnd = FormatHex(calibration ? progMax - 1 : progMax, 4);
    EXPECT_EQ(engine.PicBlankCheckProgMem().outcome, EngineOutcome::Completed);
    rig->host.progEnd = FormatHex(progMax, 4);
    if (hasData) {
        EXPECT_EQ(engine.PicBlankCheckDataMem().outcome, EngineOutcome::Completed);
    }
    EXPECT_EQ(engine.PicReadIDCode(), ChipResult<QString>(QStringLiteral("FFFF")));

    FillRandomImage(random);
    const EngineResult written = engine.PicWriteProgMem();
    ASSERT_EQ(written.outcome, EngineOutcome::Completed) << written.address;
    EXPECT_EQ(written.wordsDone, progMax + 1);
    if (hasData) {
        ASSERT_EQ(engine.PicWriteDataMem().outcome, EngineOutcome::Completed);
    }
    ASSERT_TRUE(engine.PicWriteIDCode(*IdCodeValue(rig->image.IDCodeText)));
    ASSERT_TRUE(engine.PicWriteConfig(rig->image.ConfigWord));
    EXPECT_TRUE(rig->host.writeErrors.isEmpty()) << rig->host.writeErrors.join('\n').toStdString();

    EXPECT_EQ(engine.PicVerifyProgMem().outcome, EngineOutcome::Completed);
    if (hasData) {
        EXPECT_EQ(engine.PicVerifyDataMem().outcome, EngineOutcome::Completed);
    }

    // Read back into a fresh image.
    MemoryImage fresh;
    PicEngine reader(rig->module, rig->host, fresh, rig->device);
    ASSERT_EQ(reader.PicReadProgMem().outcome, EngineOutcome::Completed);
    for (int a = 0; a <= progMax; ++a) {
        ASSERT_EQ(fresh.GetProgramWordText(a), rig->image.GetProgramWordText(a)) << a;
    }
    if (hasData) {
        ASSERT_EQ(reader.PicReadDataMem().outcome, EngineOutcome::Completed);
        for (int a = 0; a <= dataMax; ++a) {
            ASSERT_EQ(fresh.GetDataByteText(a), rig->image.GetDataByteText(a)) << a;
        }
    }
    EXPECT_EQ(reader.PicReadIDCode(), ChipResult<QString>(rig->image.IDCodeText));
    EXPECT_EQ(reader.PicReadConfig(), ChipResult<std::uint16_t>(rig->image.ConfigWord));

    // One changed word: verify names it.
    const auto changed = static_cast<std::uint16_t>(random() % progMax);
    const QString original = rig->image.GetProgramWordText(changed);
    rig->image.SetProgramWordText(changed, FormatHex(*ParseHexText(original) ^ 0x0001, 4));
    const EngineResult verify = engine.PicVerifyProgMem();
    EXPECT_EQ(verify.outcome, EngineOutcome::VerifyDifference);
    EXPECT_EQ(verify.address, changed);
    EXPECT_EQ(verify.readText, original);
    EXPECT_EQ(verify.wordsDone, changed);

    const EngineResult blank = engine.PicBlankCheckProgMem();
    EXPECT_EQ(blank.outcome, EngineOutcome::NotBlank);

    const auto family = rig->device.DeviceFamily;
    const bool serialEprom = (family == DeviceFamily::kEprom14Bit && !GetParam().parallel) ||
                             family == DeviceFamily::k12C508;
    if (serialEprom) {
        for (const std::uint16_t a : {std::uint16_t{0}, std::uint16_t(progMax / 2)}) {
            EXPECT_EQ(rig->sim->chip().PulsesApplied(a), 4) << a;
        }
    }
    EXPECT_TRUE(rig->sim->ProtocolFaults().empty()) << rig->sim->ProtocolFaultsText();
}

INSTANTIATE_TEST_SUITE_P(AllDevices, EngineRoundTrip, ::testing::ValuesIn(AllDeviceMethods()),
                         [](const auto &row) {
                             return row.param.device.toStdString() +
                                    (row.param.parallel ? "_Parallel" : "_Serial");
                         });

} // namespace
