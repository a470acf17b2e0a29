#pragma once

#include <QString>
#include <cstdint>
#include <unordered_map>
#include <vector>

// Records that give one address two different values. The later record wins, as it always
// has, but a chip written from such a file holds whatever the file's last word happened to
// be, which is seldom what the user meant: two configuration records, the second one code
// protecting the chip, would otherwise pass without a word. Repeating a value is harmless and
// not a conflict.
struct HexConflict
{
    enum class Kind { ProgramWord, DataByte, ConfigWord, SecondConfigWord, IdLocation };
    Kind kind = Kind::ProgramWord;
    // The addresses given twice: word addresses, data addresses for DataByte.
    std::uint32_t First = 0;
    std::uint32_t Last = 0;
    int Count = 0;
    // What the first address holds after each of the two lines (the values of the later
    // addresses of a stretch are not kept).
    QString EarlierText;
    QString LaterText;
    int EarlierLine = 0;
    int LaterLine = 0;

    bool operator==(const HexConflict &) const = default;
};

// Notes every value a load stores and collects the conflicts, grouped: the next address of
// the same kind, given by the same two lines, continues the last group.
class HexConflictList
{
public:
    // Beyond this many groups only a count is kept, so a hostile file cannot make the report
    // grow without end.
    static constexpr int kMaxGroups = 100;

    // `line` stores `text` at `address`; a conflict when an earlier line stored another value.
    void Give(HexConflict::Kind kind, std::uint32_t address, const QString &text, int line);

    const std::vector<HexConflict> &Groups() const { return m_groups; }
    int MoreGroups() const { return m_more; }

private:
    struct Given
    {
        QString text;
        int line = 0;
    };
    void Add(const HexConflict &conflict);

    std::unordered_map<std::uint64_t, Given> m_given;
    std::vector<HexConflict> m_groups;
    int m_more = 0;
    HexConflict m_last;
    bool m_hasLast = false;
    bool m_lastKept = false;
};
