#pragma once

#include "ChipDescription.h"

#include <deque>
#include <string>
#include <string_view>

namespace tolm::sim {

// Parts a user describes in the device catalogue's TOML format (one part per file, or several
// in [[part]] tables), read by the simulator with its own reader and turned into its own chip
// descriptions, so a part a user adds can be tried without a chip.
//
// Only what the chip needs is read: the algorithm, sizes, device ID, configuration words with
// their implemented bits, blank values and protection fields, ID locations, calibration values,
// write latches, memory parity and timing. Everything else (controls, checksums, selector
// order, ...) is the desktop's business and is left to `tolm-cli devices --check`. What the
// simulator could not model is refused with FILE:LINE:COLUMN and the reason.
//
// Factory values the file cannot give (an OSCCAL or configuration-space calibration word, the
// band-gap bits) are the simulator's own picks, as for its built-in chips.
class UserParts
{
public:
    // Reads every part of the file and adds them all, or none when one is refused.
    bool Load(const std::string &path, std::string &error);
    bool LoadText(std::string_view text, const std::string &source, std::string &error);

    // The parts in the order they were read. Their addresses stay valid while this object
    // lives, whatever is loaded later.
    const std::deque<ChipDescription> &Chips() const { return m_chips; }
    // The file the part at that index came from.
    const std::string &Source(size_t index) const { return m_sources[index]; }
    // The last part of that exact name, or nullptr.
    const ChipDescription *Find(std::string_view name) const;

private:
    std::deque<std::string> m_names; // the storage behind each description's name
    std::deque<std::string> m_sources;
    std::deque<ChipDescription> m_chips;
};

} // namespace tolm::sim
