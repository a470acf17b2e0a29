#pragma once

#include "ModuleSimulator.h"
#include "ScriptedEngineHost.h"
#include "SimulatorChannel.h"

#include "device/DeviceRecord.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "engine/PicEngine.h"
#include "link/ProgrammerModule.h"

#include <QString>
#include <memory>
#include <string>
#include <vector>

// One device's engine in front of the in-process module simulator, with a scripted host.
struct EngineRig
{
    explicit EngineRig(const QString &deviceName)
        : device(*FindDevice(deviceName)),
          sim(tolm::sim::ModuleSimulator::ForDevice(deviceName.toStdString())), channel(*sim),
          module(channel), engine(module, host, image, device)
    {
        host.parallel = device.HasParallel != 0;
    }

    // From exchange n on, the module leaves out its acknowledge byte.
    void NoAckFrom(int n)
    {
        tolm::sim::FaultSettings faults;
        faults.noAckFromExchange = n;
        sim->SetFaults(faults);
    }

    // The exchanges since the last call, one line each ("05 43 30 30 31 34 46 -> 20").
    std::vector<std::string> TakeTranscript()
    {
        std::vector<std::string> lines = sim->Transcript();
        sim->ClearTranscript();
        return lines;
    }

    // How many exchanges began with this command byte.
    int CountCommand(const std::vector<std::string> &lines, const std::string &prefix) const
    {
        int n = 0;
        for (const std::string &line : lines) {
            n += line.rfind(prefix, 0) == 0 ? 1 : 0;
        }
        return n;
    }

    DeviceRecord device;
    std::unique_ptr<tolm::sim::ModuleSimulator> sim;
    SimulatorChannel channel;
    ProgrammerModule module;
    MemoryImage image;
    ScriptedEngineHost host;
    PicEngine engine;
};
