#pragma once

// A tiny host for driving the simulator in tests: the argument encodings written out once more
// from the wire description (independently of the simulator's decoders) and helpers that send
// one command and collect its answer.

#include "ModuleSimulator.h"

#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace simtest {

using Bytes = std::vector<uint8_t>;

inline uint8_t Hex(unsigned v)
{
    return static_cast<uint8_t>("0123456789ABCDEF"[v & 15]);
}

// Argument encodings, in wire order.
inline Bytes Word14(unsigned v)
{
    return {Hex(v), Hex(v >> 6), Hex((v >> 4) & 3), '0', Hex(v >> 10), Hex((v >> 14) & 3)};
}
inline Bytes Transfer16(unsigned t)
{
    return {Hex(t), '0', Hex(t >> 4), '0', Hex(t >> 8), Hex(t >> 12)};
}
inline Bytes TwelveA(unsigned v)
{
    return {Hex(v >> 4), Hex(v), Hex(v >> 8)};
}
inline Bytes TwelveB(unsigned v)
{
    return {Hex(v), Hex(v >> 8), Hex(v >> 4)};
}
inline Bytes Timing(unsigned w, unsigned c)
{
    return {Hex(w), Hex(c >> 4), Hex(w >> 4), Hex(c), Hex(w >> 8), Hex(w >> 12)};
}
inline unsigned NormalT(unsigned v)
{
    return (v << 1) & 0xFFFF;
}
inline unsigned ParityT(unsigned v)
{
    unsigned pe = 0, po = 0;
    for (int bit = 0; bit < 14; ++bit) {
        ((bit % 2) ? po : pe) ^= (v >> bit) & 1;
    }
    return ((v << 2) | ((1 - po) << 1) | pe) & 0xFFFF;
}

inline Bytes Cat(uint8_t command, const Bytes &args = {})
{
    Bytes all{command};
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

// Sends the bytes and returns everything the module put on the line in answer.
inline Bytes Send(tolm::sim::ModuleSimulator &m, const Bytes &bytes)
{
    m.HostWrite(bytes);
    return m.TakeOutput();
}

// The commands as a host issues them; each returns the module's answer bytes.
struct Host
{
    tolm::sim::ModuleSimulator &m;
    bool parity = false;

    Bytes PowerOff()
    {
        parity = false;
        return Send(m, {0x07});
    }
    Bytes ParityMode()
    {
        parity = true;
        return Send(m, {0x17});
    }
    Bytes SetTiming(unsigned w, unsigned c) { return Send(m, Cat(0x05, Timing(w, c))); }
    Bytes PowerOnSerial() { return Send(m, {0x09}); }
    Bytes PowerOn16C5x() { return Send(m, {0x08}); }
    Bytes Pic(unsigned code) { return Send(m, Cat(0x01, {Hex(code)})); }
    Bytes ParallelPic(unsigned code) { return Send(m, Cat(0x00, {Hex(code)})); }
    Bytes Load(unsigned v)
    {
        return Send(m, Cat(0x03, Transfer16(parity ? ParityT(v) : NormalT(v))));
    }
    Bytes Pulse() { return Send(m, {0x04}); }
    Bytes Word14Command(uint8_t command, unsigned v) { return Send(m, Cat(command, Word14(v))); }

    // The serial read: the 14-bit value of the reply, or -1 when the answer is malformed.
    int ReadData()
    {
        const Bytes r = Send(m, {0x02});
        if (r.size() != 5 || r[4] != 0x20) {
            return -1;
        }
        unsigned t = 0;
        for (int i = 3; i >= 0; --i) {
            const uint8_t c = r[static_cast<size_t>(i)];
            t = t * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : c - 'A' + 10);
        }
        return static_cast<int>(parity ? (t >> 2) & 0x3FFF : (t >> 1) & 0x3FFF);
    }
    int ReadProgram()
    {
        Pic(4);
        return ReadData();
    }
    int ReadDataMemory()
    {
        Pic(5);
        return ReadData();
    }
    // 0x0B / 0x0C: reply 14.
    int ReadWord14(uint8_t command)
    {
        const Bytes r = Send(m, {command});
        if (r.size() != 5 || r[4] != 0x20) {
            return -1;
        }
        auto d = [&](size_t i) {
            return static_cast<unsigned>(r[i] <= '9' ? r[i] - '0' : r[i] - 'A' + 10);
        };
        return static_cast<int>(d(0) + (d(1) & 3) * 16 + d(2) * 64 + d(3) * 1024);
    }
    // 0x0A: 12-bit B.
    int Read12()
    {
        const Bytes r = Send(m, {0x0A});
        if (r.size() != 4 || r[3] != 0x20) {
            return -1;
        }
        auto d = [&](size_t i) {
            return static_cast<unsigned>(r[i] <= '9' ? r[i] - '0' : r[i] - 'A' + 10);
        };
        return static_cast<int>(d(0) + d(2) * 16 + d(1) * 256);
    }
    void Steps(int count)
    {
        for (int i = 0; i < count; ++i)
            Pic(6);
    }

    // The power-on sequence of the host for a part (parity parts get 0x17, Parallel gets code 10).
    void PowerOn(bool memoryParity, bool parallel)
    {
        PowerOff();
        if (memoryParity) {
            ParityMode();
        }
        SetTiming(0xF40C, 1);
        PowerOnSerial();
        if (parallel) {
            Pic(10);
        }
    }
};

// The host's pulse-and-verify of one EPROM location with the Serial method: up to 25 rounds of
// load, one pulse and read-back, then 3 x n overprogramming pulses. Returns the rounds used, or
// 0 when the location never matched.
inline int PulseProgramWord(Host &h, unsigned data)
{
    for (int n = 1; n <= 25; ++n) {
        h.Pic(2);
        h.Load(data);
        h.Pulse();
        if (h.ReadProgram() == static_cast<int>(data & 0x3FFF)) {
            h.Pic(2);
            h.Load(data);
            for (int extra = 0; extra < 3 * n; ++extra) {
                h.Pulse();
            }
            return n;
        }
    }
    return 0;
}

// The host's flash write with the Serial method: Load Data, Begin Programming, read back.
inline int FlashWriteSerial(Host &h, unsigned word)
{
    h.Pic(2);
    h.Load(word);
    h.Pic(8);
    return h.ReadProgram();
}

// A programming flow written the way the programming guides draw it, numbers in hex:
//   LC v / LP v / LD v  Load Configuration / Load Data for program / for data memory, with v
//   BP, BE, BD          Begin Programming (8), Bulk Erase Program (9) / Data Memory (11)
//   INC n, C n          n x Increment Address; PIC command n
//   RP v, RD v          read program / data memory, expecting v
//   RESET               leave programming mode and enter it again
// Returns the reads that did not give what was expected, empty when all did.
inline std::string RunScript(Host &h, const std::string &script)
{
    const std::map<std::string, int> codes{{"LC", 0}, {"LP", 2},  {"LD", 3}, {"BP", 8},
                                           {"BE", 9}, {"BD", 11}, {"C", -1}};
    std::istringstream in(script);
    std::string misses;
    auto value = [&in] {
        std::string text;
        in >> text;
        return static_cast<unsigned>(std::stoul(text, nullptr, 16));
    };
    for (std::string step; in >> step;) {
        if (const auto code = codes.find(step); code != codes.end()) {
            h.Pic(code->second < 0 ? value() : static_cast<unsigned>(code->second));
            if (step[0] == 'L') {
                h.Load(value());
            }
        } else if (step == "INC") {
            h.Steps(static_cast<int>(value()));
        } else if (step == "RESET") {
            h.PowerOn(false, false);
        } else if (step == "RP" || step == "RD") {
            const int got = step == "RP" ? h.ReadProgram() : h.ReadDataMemory();
            misses += got == static_cast<int>(value()) ? "" : step + " read " + std::to_string(got);
        }
    }
    return misses;
}

// Chip contents written as "ADDR=WORD" (any programming address) or "DADDR=BYTE" (data
// memory), separated by blanks: set before a flow, or the differences from them after it.
template <typename Visit> void ForEachCell(const std::string &cells, Visit visit)
{
    std::istringstream in(cells);
    for (std::string cell; in >> cell;) {
        const bool data = cell[0] == 'D';
        const auto address = std::stoul(cell.substr(data ? 1 : 0), nullptr, 16);
        const auto word = std::stoul(cell.substr(cell.find('=') + 1), nullptr, 16);
        visit(data, static_cast<uint16_t>(address), static_cast<uint16_t>(word));
    }
}

inline void SetCells(tolm::sim::SimChip &chip, const std::string &cells)
{
    ForEachCell(cells, [&chip](bool data, uint16_t address, uint16_t word) {
        data ? chip.SetDataByte(address, static_cast<uint8_t>(word))
             : chip.SetStoredWord(address, word);
    });
}

inline std::string CellDifferences(const tolm::sim::SimChip &chip, const std::string &cells)
{
    std::string differences;
    ForEachCell(cells, [&](bool data, uint16_t address, uint16_t word) {
        const unsigned held = data ? chip.DataByte(address) : chip.StoredWord(address);
        if (held != word) {
            differences += (data ? "D" : "") + std::to_string(address) + " holds " +
                           std::to_string(held) + "; ";
        }
    });
    return differences;
}

inline const Bytes kAck{0x20};
inline const Bytes kNak{0x3F};

} // namespace simtest
