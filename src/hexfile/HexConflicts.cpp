#include "HexConflicts.h"

void HexConflictList::Give(HexConflict::Kind kind, std::uint32_t address, const QString &text,
                           int line)
{
    const std::uint64_t key = (std::uint64_t{static_cast<std::uint32_t>(kind)} << 32) | address;
    Given &given = m_given[key];
    if (given.line != 0 && given.text != text)
        Add({kind, address, address, 1, given.text, text, given.line, line});
    given = {text, line};
}

void HexConflictList::Add(const HexConflict &conflict)
{
    const bool continues =
        m_hasLast && m_last.kind == conflict.kind && conflict.First == m_last.Last + 1 &&
        conflict.EarlierLine == m_last.EarlierLine && conflict.LaterLine == m_last.LaterLine;
    if (continues) {
        m_last.Last = conflict.First;
        ++m_last.Count;
        if (m_lastKept)
            m_groups.back() = m_last;
        return;
    }
    m_last = conflict;
    m_hasLast = true;
    m_lastKept = static_cast<int>(m_groups.size()) < kMaxGroups;
    if (m_lastKept)
        m_groups.push_back(conflict);
    else
        ++m_more;
}
