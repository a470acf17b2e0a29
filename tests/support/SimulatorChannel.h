#pragma once

#include "ModuleSimulator.h"
#include "link/ByteChannel.h"

#include <chrono>

// The in-process module simulator behind the host's byte channel: every byte the host writes
// reaches the module at once, and a read takes the module's next due byte.
class SimulatorChannel : public ByteChannel
{
public:
    explicit SimulatorChannel(tolm::sim::ModuleSimulator &module) : m_module(module) {}
    bool WriteByte(std::uint8_t byte) override
    {
        m_module.HostWrite(byte);
        return true;
    }
    std::optional<std::uint8_t> ReadByte() override
    {
        const auto byte = m_module.HostReadWait(std::chrono::milliseconds(kByteTimeoutMs));
        readsGivenUp += byte ? 0 : 1;
        return byte;
    }

    // Reads that found nothing: on a real port each would have waited the whole time limit.
    int readsGivenUp = 0;

private:
    tolm::sim::ModuleSimulator &m_module;
};
