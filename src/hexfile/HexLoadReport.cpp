#include "HexLoadReport.h"

#include "HexLayout.h"
#include "HexReader.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"

#include <algorithm>

namespace {

// A message box shows this many left-out lines; the rest are counted in one more line.
constexpr int kListedLeftOut = 10;

QString Range(uint32_t first, uint32_t last, int digits)
{
    return first == last ? FormatHex(first, digits)
                         : FormatHex(first, digits) + QLatin1Char('-') + FormatHex(last, digits);
}

// "1 word" or "8 words".
QString Counted(int count, const char *noun)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(noun),
                                                    count == 1 ? QString() : QStringLiteral("s"));
}

// The verbs of a sentence about one thing or several.
struct Verbs
{
    explicit Verbs(int count) : one(count == 1) {}
    QString lie() const { return one ? QStringLiteral("lies") : QStringLiteral("lie"); }
    QString are() const { return one ? QStringLiteral("is") : QStringLiteral("are"); }
    QString have() const { return one ? QStringLiteral("has") : QStringLiteral("have"); }
    QString were() const { return one ? QStringLiteral("was") : QStringLiteral("were"); }
    bool one;
};

// "the record on line 7" or "3 records on lines 7-9".
QString Records(const HexLeftOut &g)
{
    if (g.Count == 1)
        return QStringLiteral("the record on line %1").arg(g.Line);
    return QStringLiteral("%1 records on lines %2-%3").arg(g.Count).arg(g.Line).arg(g.LastLine);
}

QString ExtendedAddressText(uint32_t value)
{
    const bool segment = (value >> 16) == 0x02;
    return QStringLiteral("the extended %1 address %2")
        .arg(segment ? QStringLiteral("segment") : QStringLiteral("linear"),
             FormatHex(value & 0xFFFF, 4));
}

QString DataText(const HexLeftOut &g, const DeviceRecord &device, const Verbs &v)
{
    const QString bytes = Counted(g.Count, "data byte");
    const QString range = Range(g.First, g.Last, 2);
    if (!device.HasDataMemory)
        return QStringLiteral("%1 at %2 %3 left out: the %4 has no data memory")
            .arg(bytes, range, v.were(), device.DeviceName);
    return QStringLiteral("%1 at %2 %3 beyond the %4's data memory (00-%5) and %6 left out")
        .arg(bytes, range, v.lie(), device.DeviceName, FormatHex(DataMaxAddress(device), 2),
             v.were());
}

QString ConfigurationSpaceText(const HexLeftOut &g, const DeviceRecord &device, const Verbs &v)
{
    const uint32_t id = FileIdAddress(device);
    const std::optional<uint16_t> second = SecondConfigAddress(device);
    const QString configWords =
        second ? QStringLiteral("configuration words (%1, %2)")
                     .arg(FormatHex(device.ConfigAddress, 4), FormatHex(*second, 4))
               : QStringLiteral("configuration word (%1)").arg(FormatHex(device.ConfigAddress, 4));
    return QStringLiteral("%1 at %2 %3 in configuration space but %4 neither the %5's ID "
                          "locations (%6) nor its %7, and %8 left out")
        .arg(Counted(g.Count, "word"), Range(g.First, g.Last, 4), v.lie(), v.are(),
             device.DeviceName, Range(id, id + HexLayout::kIdLocations - 1, 4), configWords,
             v.were());
}

// "program word 0010", "data bytes 10-13", "the configuration word", "ID location 2001".
QString ConflictPlace(const HexConflict &c)
{
    const bool one = c.Count == 1;
    switch (c.kind) {
    case HexConflict::Kind::ProgramWord:
        return (one ? QStringLiteral("program word ") : QStringLiteral("program words ")) +
               Range(c.First, c.Last, 4);
    case HexConflict::Kind::DataByte:
        return (one ? QStringLiteral("data byte ") : QStringLiteral("data bytes ")) +
               Range(c.First, c.Last, 2);
    case HexConflict::Kind::ConfigWord:
        return QStringLiteral("the configuration word");
    case HexConflict::Kind::SecondConfigWord:
        return QStringLiteral("the second configuration word");
    case HexConflict::Kind::IdLocation:
        return (one ? QStringLiteral("ID location ") : QStringLiteral("ID locations ")) +
               Range(c.First, c.Last, 4);
    }
    return {};
}

QString MissingTargets(const HexTargets &targets, const HexLoadResult &result)
{
    QString missing;
    if (targets.Program && !result.ProgramFound)
        missing += QStringLiteral("<Program> ");
    if (targets.Data && !result.DataFound)
        missing += QStringLiteral("<Data> ");
    if (targets.Config && !result.ConfigFound)
        missing += QStringLiteral("<Configuration> ");
    if (targets.IDCode && !result.IDCodeFound)
        missing += QStringLiteral("<ID Code> ");
    return missing;
}

} // namespace

QString HexLineFaultText(const HexLineFault &f)
{
    switch (f.kind) {
    case HexLineFault::Kind::EmptyLine:
        return QStringLiteral("the line is empty");
    case HexLineFault::Kind::TooLong:
        return QStringLiteral("the line is longer than any record (over %1 characters)")
            .arg(kLongestHexRecord);
    case HexLineFault::Kind::NotHexDigit: {
        const bool printable = f.Character >= 0x20 && f.Character < 0x7F;
        const QString what = printable
                                 ? QStringLiteral("'%1'").arg(QChar(f.Character))
                                 : QStringLiteral("the byte %1").arg(FormatHex(f.Character, 2));
        return QStringLiteral("%1 at column %2 is not a hexadecimal digit").arg(what).arg(f.Column);
    }
    case HexLineFault::Kind::WrongLength:
        return QStringLiteral("its length does not fit its byte count: %1 characters, where "
                              "byte count %2 needs %3")
            .arg(f.Length)
            .arg(FormatHex(static_cast<uint32_t>(f.ByteCount), 2))
            .arg(f.ExpectedLength);
    case HexLineFault::Kind::Checksum:
        if (f.Written && f.Expected)
            return QStringLiteral("the checksum does not add up (checksum %1, should be %2)")
                .arg(FormatHex(*f.Written, 2), FormatHex(*f.Expected, 2));
        return QStringLiteral("the checksum does not add up (sum %1, should be 00)")
            .arg(FormatHex(f.Sum, 2));
    }
    return {};
}

QString HexLeftOutText(const HexLeftOut &g, const DeviceRecord &device)
{
    const Verbs v(g.Count);
    switch (g.kind) {
    case HexLeftOut::Kind::BeyondProgramMemory:
        return QStringLiteral("%1 at %2 %3 beyond the %4's program memory (0000-%5) and %6 "
                              "left out")
            .arg(Counted(g.Count, "word"), Range(g.First, g.Last, 4), v.lie(), device.DeviceName,
                 FormatHex(ProgMaxAddress(device), 4), v.were());
    case HexLeftOut::Kind::ConfigurationSpace:
        return ConfigurationSpaceText(g, device, v);
    case HexLeftOut::Kind::BeyondDataMemory:
        return DataText(g, device, v);
    case HexLeftOut::Kind::Above64K:
        return QStringLiteral("%1 %2 above the first 64 KiB (after %3) and %4 left out")
            .arg(Records(g), v.lie(), ExtendedAddressText(g.Value), v.were());
    case HexLeftOut::Kind::UndefinedType:
        return QStringLiteral("%1 %2 type %3, which no Intel HEX dialect defines, and %4 left out")
            .arg(Records(g), v.have(), FormatHex(g.Value, 2), v.were());
    case HexLeftOut::Kind::ConfigTooWide:
        return QStringLiteral("configuration word %1 on line %2 has bits beyond the %3's %4-bit "
                              "configuration word and was left out")
            .arg(FormatHex(g.Value, 4))
            .arg(g.Line)
            .arg(device.DeviceName)
            .arg(ConfigWidthBits(device));
    }
    return {};
}

QString HexConflictText(const HexConflict &c)
{
    if (c.Count == 1)
        return QStringLiteral("%1 is given twice: %2 at line %3, %4 at line %5")
            .arg(ConflictPlace(c), c.EarlierText)
            .arg(c.EarlierLine)
            .arg(c.LaterText)
            .arg(c.LaterLine);
    return QStringLiteral("%1 are given twice, with other values at line %2 than at line %3")
        .arg(ConflictPlace(c))
        .arg(c.LaterLine)
        .arg(c.EarlierLine);
}

void BuildHexLoadReport(const HexTargets &targets, const DeviceRecord &device,
                        HexLoadResult &result)
{
    const QString missing = MissingTargets(targets, result);
    result.MissingRecords = !missing.isEmpty();
    QStringList lines;
    if (result.MissingRecords)
        lines << missing + QStringLiteral("Records NOT found");
    if (result.StoppedAtLine > 0) {
        result.StopReason = HexLineFaultText(result.StopFault);
        lines << QStringLiteral("Reading stopped at line %1: %2. The records after it were not "
                                "loaded.")
                     .arg(result.StoppedAtLine)
                     .arg(result.StopReason);
    }
    result.LeftOutReport.clear();
    for (const HexLeftOut &group : result.LeftOut)
        result.LeftOutReport << HexLeftOutText(group, device);
    lines << result.LeftOutReport.mid(0, kListedLeftOut);
    const int unlisted =
        std::max(0, static_cast<int>(result.LeftOutReport.size()) - kListedLeftOut) +
        result.MoreLeftOut;
    if (unlisted > 0)
        lines
            << QStringLiteral("%1 more stretches of the file were left out as well.").arg(unlisted);
    result.ConflictReport.clear();
    for (const HexConflict &conflict : result.Conflicts)
        result.ConflictReport << HexConflictText(conflict);
    lines << result.ConflictReport.mid(0, kListedLeftOut);
    const int unlistedConflicts =
        std::max(0, static_cast<int>(result.ConflictReport.size()) - kListedLeftOut) +
        result.MoreConflicts;
    if (unlistedConflicts > 0)
        lines << QStringLiteral("%1 more addresses or stretches are given twice as well; the "
                                "later record's value is kept.")
                     .arg(unlistedConflicts);
    result.Report = lines.isEmpty() ? QStringLiteral("File loaded successfully")
                                    : lines.join(QLatin1Char('\n'));
}
