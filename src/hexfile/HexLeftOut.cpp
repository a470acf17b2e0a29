#include "HexLeftOut.h"

namespace {

bool IsAddressKind(HexLeftOut::Kind kind)
{
    return kind == HexLeftOut::Kind::BeyondProgramMemory ||
           kind == HexLeftOut::Kind::ConfigurationSpace ||
           kind == HexLeftOut::Kind::BeyondDataMemory;
}

} // namespace

bool HexLeftOutList::Continues(HexLeftOut::Kind kind, std::uint32_t address, std::uint32_t value,
                               int line) const
{
    if (!m_hasLast || m_last.kind != kind)
        return false;
    // A stretch of addresses may run on over several records and lines.
    if (IsAddressKind(kind))
        return address == m_last.Last + 1;
    // Records group only line after line: a record between them breaks the group.
    if (kind == HexLeftOut::Kind::ConfigTooWide)
        return false;
    return value == m_last.Value && line == m_last.LastLine + 1;
}

void HexLeftOutList::Extend(std::uint32_t address, int line)
{
    m_last.Last = address;
    ++m_last.Count;
    m_last.LastLine = line;
    if (m_lastKept)
        m_groups.back() = m_last;
}

void HexLeftOutList::Start(const HexLeftOut &group)
{
    m_last = group;
    m_hasLast = true;
    m_lastKept = static_cast<int>(m_groups.size()) < kMaxGroups;
    if (m_lastKept)
        m_groups.push_back(group);
    else
        ++m_more;
}

void HexLeftOutList::AddWord(HexLeftOut::Kind kind, std::uint32_t address, int line)
{
    if (Continues(kind, address, 0, line))
        Extend(address, line);
    else
        Start({kind, address, address, 1, line, line, 0});
}

void HexLeftOutList::AddRecord(HexLeftOut::Kind kind, std::uint32_t value, int line)
{
    if (Continues(kind, 0, value, line))
        Extend(0, line);
    else
        Start({kind, 0, 0, 1, line, line, value});
}

void HexLeftOutList::AddConfigTooWide(std::uint16_t word, int line)
{
    Start({HexLeftOut::Kind::ConfigTooWide, 0, 0, 1, line, line, word});
}
