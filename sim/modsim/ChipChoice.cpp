#include "ChipChoice.h"

#include <cstdio>

namespace tolm::sim {

namespace {

std::string ListLine(const ChipDescription &chip, const std::string &note)
{
    char line[128];
    std::snprintf(line, sizeof line, "%-9.*s %13u %11u  %s", static_cast<int>(chip.name.size()),
                  chip.name.data(), static_cast<unsigned>(chip.programWords),
                  static_cast<unsigned>(chip.dataBytes),
                  std::string(Rules(chip.algorithm).name).c_str());
    return std::string(line) + note + '\n';
}

} // namespace

bool ChipChoice::LoadPartFiles(const std::vector<std::string> &paths, std::string &error)
{
    for (const std::string &path : paths) {
        if (!m_user.Load(path, error)) {
            return false;
        }
    }
    return true;
}

const ChipDescription *ChipChoice::Find(std::string_view name) const
{
    const ChipDescription *user = m_user.Find(name);
    return user ? user : FindChip(name);
}

std::string ChipChoice::ListText() const
{
    std::string text = "chip      program-words  data-bytes  algorithm\n";
    for (const ChipDescription &chip : AllChips()) {
        if (!m_user.Find(chip.name)) {
            text += ListLine(chip, {});
        }
    }
    const auto &user = m_user.Chips();
    for (size_t i = 0; i < user.size(); ++i) {
        if (m_user.Find(user[i].name) != &user[i]) {
            continue; // a later file has a part of the same name
        }
        const bool replaces = FindChip(user[i].name) != nullptr;
        text += ListLine(user[i], "  (" + m_user.Source(i) +
                                      (replaces ? ", in place of the built-in chip)" : ")"));
    }
    return text;
}

} // namespace tolm::sim
