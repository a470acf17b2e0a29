#pragma once

#include "ChipDescription.h"
#include "PartFile.h"

#include <string>
#include <vector>

namespace tolm::sim {

// The chips tolm-modsim can put in its socket: its own, and the parts of the user's part files.
// A user's part of the same name as a built-in chip takes its place, as a user's file replaces a
// shipped part in the desktop's catalogue.
class ChipChoice
{
public:
    // Reads every file; false with "FILE:LINE:COLUMN: why" on the first part that is refused.
    bool LoadPartFiles(const std::vector<std::string> &paths, std::string &error);

    // The chip of that exact name, or nullptr.
    const ChipDescription *Find(std::string_view name) const;

    // One line per chip: name, program words, data bytes, algorithm; a user's part says which
    // file it came from.
    std::string ListText() const;

private:
    UserParts m_user;
};

} // namespace tolm::sim
