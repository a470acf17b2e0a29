#pragma once

#include <cstdint>
#include <vector>

// Records, or words of records, that a load did not take because they lie where the selected
// device has no memory for them. Usually the file was made for another chip; a chip written
// without them would not hold what the user meant, so the report names each stretch.
struct HexLeftOut
{
    enum class Kind {
        BeyondProgramMemory, // program words above the device's program memory
        ConfigurationSpace,  // 14-bit parts: 2000-20FF apart from the ID locations and 2007
        BeyondDataMemory,    // data bytes above the data EEPROM, or on a part without one
        Above64K,            // data records after an extended address other than 0000
        UndefinedType,       // record types 06 and up
        ConfigTooWide,       // a configuration word with bits the device's word lacks
    };
    Kind kind = Kind::BeyondProgramMemory;
    // The stretch of addresses left out: word addresses, data addresses for
    // BeyondDataMemory; unused for the other kinds.
    std::uint32_t First = 0;
    std::uint32_t Last = 0;
    int Count = 0;    // words, data bytes or records
    int Line = 0;     // 1-based line of the first of them
    int LastLine = 0; // and of the last
    // UndefinedType: the record type. ConfigTooWide: the word. Above64K: the address
    // record's type in the upper 16 bits and its value in the lower.
    std::uint32_t Value = 0;

    bool operator==(const HexLeftOut &) const = default;
};

// Collects what was left out, grouped: what directly follows the last group and continues it
// (the next address of the same kind, or the next line with the same record type or after
// the same extended address) joins that group; anything else starts a new one.
class HexLeftOutList
{
public:
    // Beyond this many groups only a count is kept, so that a hostile file cannot make the
    // report grow without end.
    static constexpr int kMaxGroups = 100;

    void AddWord(HexLeftOut::Kind kind, std::uint32_t address, int line);
    void AddRecord(HexLeftOut::Kind kind, std::uint32_t value, int line);
    void AddConfigTooWide(std::uint16_t word, int line);

    const std::vector<HexLeftOut> &Groups() const { return m_groups; }
    int MoreGroups() const { return m_more; }

private:
    bool Continues(HexLeftOut::Kind kind, std::uint32_t address, std::uint32_t value,
                   int line) const;
    void Extend(std::uint32_t address, int line);
    void Start(const HexLeftOut &group);

    std::vector<HexLeftOut> m_groups;
    int m_more = 0;
    // The group the next addition may continue, kept in m_groups or only counted.
    HexLeftOut m_last;
    bool m_hasLast = false;
    bool m_lastKept = false;
};
