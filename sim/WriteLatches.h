#pragma once

#include <bit>
#include <cstdint>
#include <span>
#include <vector>

namespace tolm::sim {

// A chip's program-memory write latches. Load Data fills the latch that the address counter's
// low bits select; Begin Programming writes them out. Parts with a one-word latch have one.
class WriteLatches
{
public:
    // All latches at the blank word, none loaded: the state at programming-mode entry.
    void Reset(int size, uint16_t blank)
    {
        m_blank = blank;
        m_words.assign(static_cast<size_t>(size < 1 ? 1 : size), blank);
        m_loaded = 0;
    }
    int Size() const { return static_cast<int>(m_words.size()); }

    void Load(uint16_t address, uint16_t word)
    {
        const size_t i = Index(address);
        m_words[i] = word;
        m_loaded |= 1u << i;
    }
    uint16_t At(uint16_t address) const { return m_words[Index(address)]; }
    std::span<const uint16_t> All() const { return m_words; }

    // How many latches were loaded since the last Begin Programming.
    int LoadedCount() const { return std::popcount(m_loaded); }
    // After Begin Programming: the contents stay, the loads are counted afresh.
    void MarkWritten() { m_loaded = 0; }
    // Back to the blank word everywhere.
    void Clear() { Reset(Size(), m_blank); }

private:
    size_t Index(uint16_t address) const { return address % m_words.size(); }

    std::vector<uint16_t> m_words{0x3FFF};
    uint16_t m_blank = 0x3FFF;
    unsigned m_loaded = 0;
};

} // namespace tolm::sim
