#pragma once

#include "ChipCliFixture.h"

#include <vector>

// A bench of several simulated modules, each serving its own chip on its own pseudo-terminal,
// and tolm-cli run on all their ports at once.
class ChipBenchCli : public ChipCli
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

    QString Port(int i) const { return m_sims[static_cast<std::size_t>(i)]->LinkPath(); }

    QString Ports() const
    {
        QStringList links;
        for (const auto &sim : m_sims)
            links << sim->LinkPath();
        return links.join(',');
    }

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

    std::vector<std::unique_ptr<ModsimProcess>> m_sims;
};
