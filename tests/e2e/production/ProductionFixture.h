#pragma once

#include "ChipCliFixture.h"

#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "production/LogQuery.h"

#include <vector>

// Several simulated modules, each with its own chip, and tolm-cli's production log in the
// test's own data folder.
class ProductionCli : public ChipCli
{
protected:
    // Starts `count` simulators of one device with blank chips; `extra[i]` goes to the i-th.
    void StartChips(const QString &device, int count, const std::vector<QStringList> &extra = {})
    {
        m_device = *FindDevice(device);
        m_sims.clear();
        for (int i = 0; i < count; ++i) {
            auto sim = std::make_unique<ModsimProcess>(QStringLiteral(TOLM_MODSIM));
            QFile::remove(ChipOut(i));
            QStringList options = {"--chip-out", ChipOut(i)};
            if (i < static_cast<int>(extra.size()))
                options += extra[static_cast<std::size_t>(i)];
            ASSERT_TRUE(sim->Start(device, options)) << sim->Error().toStdString();
            m_sims.push_back(std::move(sim));
        }
    }

    QString ChipOut(int i) const { return Path(QStringLiteral("chip-out-%1.hex").arg(i)); }

    QString Ports() const
    {
        QStringList links;
        for (const auto &sim : m_sims)
            links << sim->LinkPath();
        return links.join(',');
    }

    QString Port(int i) const { return m_sims[static_cast<std::size_t>(i)]->LinkPath(); }

    // tolm-cli on every simulator's port.
    CliRun Bench(const QStringList &args)
    {
        return RunTolmCli(QStringLiteral(TOLM_CLI),
                          QStringList{"-d", m_device.DeviceName, "-p", Ports()} + args,
                          Path("config"), 30000);
    }

    std::unique_ptr<MemoryImage> StopAndLoad(int i)
    {
        m_sims[static_cast<std::size_t>(i)]->Stop();
        return Load(ChipOut(i));
    }

    // A small firmware: `words` program words from 0000 and a configuration word.
    QString Firmware(const QString &name, int words)
    {
        MemoryImage image;
        image.FillProgramImage(BlankWordText(m_device.DeviceType));
        image.FillDataImage("FF");
        for (int a = 0; a < words; ++a)
            image.SetProgramWordText(a, FormatHex(0x2800 + a * 37 % 0x800, 4));
        image.ConfigWord = 0x3FF1;
        return Save(name, image);
    }

    // Where tolm-cli keeps its log and serial file by default for these tests.
    QString DefaultLog() const { return Path("config/data/tolm/production.sqlite"); }
    QString DefaultSerialFile() const { return Path("config/data/tolm/next-serial"); }

    std::vector<ProductionRow> LogRows(const QString &path)
    {
        const LogReadResult read = ReadProductionLog(path, {});
        EXPECT_TRUE(read.error.isEmpty()) << read.error.toStdString();
        return read.rows;
    }

    std::vector<std::unique_ptr<ModsimProcess>> m_sims;
};
