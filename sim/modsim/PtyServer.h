#pragma once

#include "AdapterReceiveTimer.h"
#include "LinePacer.h"
#include "ModuleSimulator.h"

#include <optional>
#include <string>

namespace tolm::sim {

// Serves a ModuleSimulator on a pseudo-terminal: bytes the host writes to the slave side are
// fed to the module, reply bytes go back when they are due.
//
// The server keeps a descriptor of the slave open itself. Without it, the master reports EIO
// whenever no host has the slave open (before the first open, between a close and the next
// open), and the terminal's settings would fall back to their defaults on every reopen.
class PtyServer
{
public:
    PtyServer() = default;
    ~PtyServer();
    PtyServer(const PtyServer &) = delete;
    PtyServer &operator=(const PtyServer &) = delete;

    // Opens the master, unlocks the slave and puts the line into raw mode.
    bool Open(std::string &error);
    const std::string &SlavePath() const { return m_slavePath; }

    // Real time: take the host's bytes off the terminal no faster than the line carries them,
    // one per byteTime. Without it every byte is taken as soon as it is there.
    void PaceInput(std::chrono::steady_clock::duration byteTime) { m_pacer.emplace(byteTime); }

    // Replies reach the host as through a USB serial adapter whose receive latency timer is
    // `latency`: held in the adapter's buffer and passed on in packets.
    void HoldReplies(std::chrono::steady_clock::duration latency) { m_adapter.emplace(latency); }

    // Runs until a byte arrives on stopFd (the signal handler's pipe) or a fatal error.
    // Returns false with a message on a fatal error.
    bool Serve(ModuleSimulator &module, int stopFd, std::string &error);

private:
    bool PumpInput(ModuleSimulator &module, std::string &error);
    bool TakePacedByte(ModuleSimulator &module, std::string &error);
    bool PumpOutput(ModuleSimulator &module, std::string &error);
    void TakeReplies(ModuleSimulator &module);
    bool WatchesInput(ModuleSimulator::TimePoint now) const;
    std::optional<ModuleSimulator::TimePoint> NextWake(const ModuleSimulator &module) const;

    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
    std::string m_outgoing; // due bytes the terminal has not taken yet
    std::optional<LinePacer> m_pacer;
    std::optional<AdapterReceiveTimer> m_adapter;
};

} // namespace tolm::sim
