#pragma once

#include "CliProcess.h"
#include "ModsimProcess.h"
#include "SampleImages.h"

#include "device/DeviceOptions.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "hexfile/HexReader.h"
#include "hexfile/HexWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

// tolm-cli against tolm-modsim on a pseudo-terminal: one chip in the simulated socket, its
// contents handed in and taken out as chip files, which are hex files in the program's own
// layout, so the host's reader loads them.
class ChipCli : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "chip_e2e_tests";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            s_app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // The application must go before the statics it relies on do, at the end of each suite.
    static void TearDownTestSuite() { s_app.reset(); }

    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString Path(const QString &name) const { return m_dir.filePath(name); }

    // Starts a fresh simulator (a factory-blank chip, or `chipIn` as its contents).
    void StartChip(const QString &device, const QStringList &extra = {}, const QString &chipIn = {})
    {
        m_device = *FindDevice(device);
        m_modsim = std::make_unique<ModsimProcess>(QStringLiteral(TOLM_MODSIM));
        QFile::remove(Path("chip-out.hex"));
        QFile::remove(Path("transcript.txt"));
        QStringList options = {"--chip-out", Path("chip-out.hex"), "--transcript",
                               Path("transcript.txt")};
        if (!chipIn.isEmpty())
            options << "--chip-in" << chipIn;
        ASSERT_TRUE(m_modsim->Start(device, options + extra)) << m_modsim->Error().toStdString();
    }

    // Stops the simulator, which then writes its chip file, and loads that file.
    std::unique_ptr<MemoryImage> StopAndLoadChip()
    {
        m_modsim->Stop();
        return Load(Path("chip-out.hex"));
    }

    // Loads a hex file for every target of the device into an image that starts blank.
    std::unique_ptr<MemoryImage> Load(const QString &path) const
    {
        auto image = std::make_unique<MemoryImage>();
        image->FillProgramImage(BlankWordText(m_device));
        image->FillDataImage(QStringLiteral("FF"));
        const HexLoadResult result = LoadHexFile(path, *image, m_device, AllTargets());
        EXPECT_TRUE(result.FileError.isEmpty()) << result.FileError.toStdString();
        return image;
    }

    // Saves an image as a hex file over the whole of the device's ranges.
    QString Save(const QString &name, const MemoryImage &image) const
    {
        const HexAddressTexts all{"0000", m_device.ProgMaxText, "00", m_device.DataMaxText};
        EXPECT_TRUE(SaveHexFile(Path(name), image, m_device, AllTargets(), all).Ok());
        return Path(name);
    }

    // A small program (32 words counting up from 2000, kept to the core's width), the ID code
    // given, and a configuration word with the watchdog off and the XT oscillator.
    QString SampleFile(const QString &idCode = QStringLiteral("1234"))
    {
        MemoryImage image;
        MakeBlankImage(image, m_device, static_cast<std::uint16_t>(BlankWord(m_device) & 0xFFF9),
                       idCode);
        PutProgram(image, m_device, 0x20, 0x2000, 1);
        return Save("sample.hex", image);
    }

    HexTargets AllTargets() const
    {
        return {.Program = true,
                .Data = m_device.HasDataMemory != 0,
                .Config = m_device.NoConfigWord == 0,
                .IDCode = true};
    }

    // tolm-cli on the simulator's port for the current device; `args` follow.
    CliRun Cli(const QStringList &args, int timeoutMs = 10000)
    {
        return RunTolmCli(QStringLiteral(TOLM_CLI),
                          QStringList{"-d", m_device.DeviceName, "-p", m_modsim->LinkPath()} + args,
                          Path("config"), timeoutMs);
    }

    QStringList TranscriptLines() const
    {
        QFile file(Path("transcript.txt"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    QString LinkPath() const { return m_modsim->LinkPath(); }

    static std::unique_ptr<QCoreApplication> s_app;
    QTemporaryDir m_dir;
    DeviceRecord m_device;
    std::unique_ptr<ModsimProcess> m_modsim;
};

inline std::unique_ptr<QCoreApplication> ChipCli::s_app;
