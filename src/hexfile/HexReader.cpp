#include "HexReader.h"

#include "HexConflicts.h"
#include "HexLayout.h"
#include "HexLineSource.h"
#include "HexLoadReport.h"
#include "HexRecord.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

namespace {

// Everything one load works with.
struct Load
{
    const DeviceRecord &device;
    const HexTargets &targets;
    MemoryImage &image;
    HexLoadResult &result;
    HexWindows windows;
    HexLeftOutList leftOut;
    HexConflictList conflicts;
    int line = 0;
};

uint32_t WordAddress(const HexRecord &record, int index)
{
    return uint32_t{record.WordAddress} + static_cast<uint32_t>(index);
}

// Only the start is tested: a record that starts inside program memory is stored whole. Its
// words past the end land in image cells no device has, where they do no harm; they are
// reported as left out all the same.
void StoreProgram(const HexRecord &record, Load &load)
{
    if (!load.targets.Program || record.WordAddress > load.windows.ProgramLast)
        return;
    load.result.ProgramFound = true;
    for (int i = 0; i < record.WordCount; ++i) {
        const uint32_t address = WordAddress(record, i);
        if (address <= load.windows.ProgramLast)
            load.conflicts.Give(HexConflict::Kind::ProgramWord, address, record.Word(i), load.line);
        load.image.SetProgramWordText(static_cast<int>(address), record.Word(i));
    }
}

void StoreData(const HexRecord &record, Load &load)
{
    if (!load.targets.Data)
        return;
    for (int i = 0; i < record.WordCount; ++i) {
        const uint32_t a = WordAddress(record, i);
        if (RegionOf(a, load.windows) != HexRegion::Data)
            continue;
        load.result.DataFound = true;
        // A data byte travels as the low byte of a word; the high byte is padding.
        const auto address = static_cast<int>(a - HexLayout::kDataFirstWord);
        const QString byte = record.Word(i).mid(2, 2);
        load.conflicts.Give(HexConflict::Kind::DataByte, static_cast<uint32_t>(address), byte,
                            load.line);
        load.image.SetDataByteText(address, byte);
    }
}

// The second configuration word (16F88X: 2008) is taken as the chip holds it: its bits that
// are no cells read as 1 and carry nothing.
void StoreSecondConfig(const HexRecord &record, Load &load)
{
    const std::optional<uint32_t> address = load.windows.SecondConfigAddress;
    if (!load.targets.Config || !address || *address < record.WordAddress ||
        *address >= WordAddress(record, record.WordCount))
        return;
    const QString text = record.Word(*address - record.WordAddress);
    const auto word = static_cast<uint16_t>(ParseHexText(text).value_or(0));
    load.result.SecondConfigFound = true;
    load.image.SecondConfigWord = static_cast<uint16_t>(word & WordMask(load.device));
    load.conflicts.Give(HexConflict::Kind::SecondConfigWord, *address,
                        FormatHex(load.image.SecondConfigWord, 4), load.line);
}

void StoreConfig(const HexRecord &record, Load &load)
{
    StoreSecondConfig(record, load);
    const uint32_t address = load.windows.ConfigAddress;
    if (!load.targets.Config || address < record.WordAddress ||
        address >= WordAddress(record, record.WordCount))
        return;
    const auto word =
        static_cast<uint16_t>(ParseHexText(record.Word(address - record.WordAddress)).value_or(0));
    const uint16_t mask = ConfigWordMask(load.device);
    const auto beyond = static_cast<uint16_t>(word & ~mask);
    // Some tools fill the word up to 16 bits with ones, which the chip does not have: those
    // carry nothing. Any other bit beyond the word would reach the chip as something the
    // user never meant (on a 12-bit part, code protection), so such a word is left out.
    if (beyond != 0 && beyond != static_cast<uint16_t>(~mask)) {
        load.leftOut.AddConfigTooWide(word, load.line);
        return;
    }
    load.result.ConfigFound = true;
    load.image.ConfigWord = static_cast<uint16_t>(word & mask);
    load.result.ConfigEditText = FormatHex(load.image.ConfigWord, 4);
    load.conflicts.Give(HexConflict::Kind::ConfigWord, address, load.result.ConfigEditText,
                        load.line);
}

void StoreIdCode(const HexRecord &record, Load &load)
{
    if (!load.targets.IDCode)
        return;
    // Each ID location carries one digit in its low four bits.
    QString digits;
    for (int i = 0; i < record.WordCount; ++i) {
        const uint32_t address = WordAddress(record, i);
        if (RegionOf(address, load.windows) != HexRegion::IdLocation)
            continue;
        // Only the low digit reaches the chip: a conflict is a different digit.
        digits += record.Word(i).back();
        load.conflicts.Give(HexConflict::Kind::IdLocation, address, record.Word(i).right(1),
                            load.line);
    }
    if (digits.isEmpty())
        return;
    load.result.IDCodeFound = true;
    load.image.IDCodeText = digits;
}

// Words of the record for which the device has no place, when they concern a ticked target.
void NoteLeftOutWords(const HexRecord &record, Load &load)
{
    const HexTargets &t = load.targets;
    for (int i = 0; i < record.WordCount; ++i) {
        const uint32_t a = WordAddress(record, i);
        switch (RegionOf(a, load.windows)) {
        case HexRegion::BeyondProgram:
            if (t.Program)
                load.leftOut.AddWord(HexLeftOut::Kind::BeyondProgramMemory, a, load.line);
            break;
        case HexRegion::ConfigurationSpace:
            if (t.Config || t.IDCode)
                load.leftOut.AddWord(HexLeftOut::Kind::ConfigurationSpace, a, load.line);
            break;
        case HexRegion::BeyondData:
            // On a part without data memory nothing can be ticked to take these bytes: they
            // are always reported, as the file was plainly made for another chip.
            if (t.Data || !load.windows.HasDataMemory)
                load.leftOut.AddWord(HexLeftOut::Kind::BeyondDataMemory,
                                     a - HexLayout::kDataFirstWord, load.line);
            break;
        default:
            break; // one of the device's memories: taken when its target is ticked
        }
    }
}

// One data record: each word goes where its own address says, for every ticked target.
void StoreRecord(const HexRecord &record, Load &load)
{
    if (record.WordCount == 0)
        return; // a record without words delivers nothing to any target
    StoreProgram(record, load);
    StoreData(record, load);
    StoreConfig(record, load);
    StoreIdCode(record, load);
    NoteLeftOutWords(record, load);
}

// Extended linear (type 04) and extended segment (type 02) address records move the records
// that follow away from the first 64 KiB, where every memory of these chips lies.
bool IsAddressRecord(uint16_t type)
{
    return type == HexRecordType::kExtendedLinearAddress ||
           type == HexRecordType::kExtendedSegmentAddress;
}

// The address record's type in the upper 16 bits and its value in the lower; 0 when the
// records that follow stay where their own addresses say.
uint32_t ExtendedAddress(const HexRecord &record)
{
    // The value is written high byte first, unlike the words of data records.
    const QString word = record.Word(0);
    const uint32_t value = ParseHexText(word.mid(2, 2) + word.left(2)).value_or(0);
    return value == 0 ? 0 : (uint32_t{record.RecordType} << 16) | value;
}

// A segment address (type 02) adds 16 times its value to the byte addresses that follow: the
// record, moved there, when it still lies in the first 64 KiB where these chips' memories
// are; nothing when it lies above (as after any extended linear address but 0000).
std::optional<HexRecord> PlacedBySegment(const HexRecord &record, uint32_t extendedAddress)
{
    if ((extendedAddress >> 16) != HexRecordType::kExtendedSegmentAddress)
        return std::nullopt;
    // 16 bytes a segment step are 8 words.
    const uint32_t first = 8 * (extendedAddress & 0xFFFF) + record.WordAddress;
    if (first + record.WordCount > 0x8000)
        return std::nullopt;
    HexRecord placed = record;
    placed.WordAddress = static_cast<uint16_t>(first);
    return placed;
}

} // namespace

HexLoadResult LoadHexFromDevice(QIODevice &source, MemoryImage &image, const DeviceRecord &device,
                                const HexTargets &targets)
{
    HexLoadResult result;
    Load load{device, targets, image, result, WindowsFor(device), {}, {}, 0};
    HexLineSource lines(source);
    QByteArray raw;
    // Set by an extended address other than 0000: the data records that follow lie away
    // from the first 64 KiB, where no memory of these chips is.
    uint32_t extendedAddress = 0;
    while (lines.Next(raw)) {
        ++load.line;
        const HexLineResult parsed = ParseHexLine(QString::fromLatin1(raw));
        if (!parsed.Record) {
            result.StoppedAtLine = load.line;
            result.StopFault = parsed.Fault;
            break;
        }
        const HexRecord &record = *parsed.Record;
        const uint16_t type = record.RecordType;
        if (type == HexRecordType::kEndOfFile)
            break;
        if (IsAddressRecord(type))
            extendedAddress = record.WordCount > 0 ? ExtendedAddress(record) : 0;
        else if (type >= HexRecordType::kFirstUndefined)
            load.leftOut.AddRecord(HexLeftOut::Kind::UndefinedType, type, load.line);
        else if (type != HexRecordType::kData)
            continue; // a start address carries no memory
        else if (extendedAddress == 0)
            StoreRecord(record, load);
        else if (const auto placed = PlacedBySegment(record, extendedAddress))
            StoreRecord(*placed, load);
        else if (record.WordCount > 0)
            load.leftOut.AddRecord(HexLeftOut::Kind::Above64K, extendedAddress, load.line);
    }
    result.LeftOut = load.leftOut.Groups();
    result.MoreLeftOut = load.leftOut.MoreGroups();
    result.Conflicts = load.conflicts.Groups();
    result.MoreConflicts = load.conflicts.MoreGroups();
    BuildHexLoadReport(targets, device, result);
    return result;
}

HexLoadResult LoadHexBytes(const QByteArray &bytes, MemoryImage &image, const DeviceRecord &device,
                           const HexTargets &targets)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return LoadHexFromDevice(buffer, image, device, targets);
}

HexLoadResult LoadHexFile(const QString &path, MemoryImage &image, const DeviceRecord &device,
                          const HexTargets &targets)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        HexLoadResult result;
        const QString reason =
            QFileInfo(path).isDir() ? QStringLiteral("Is a directory") : file.errorString();
        result.FileError = QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason);
        return result;
    }
    HexLoadResult result = LoadHexFromDevice(file, image, device, targets);
    if (file.error() != QFileDevice::NoError)
        result.FileError =
            QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString());
    return result;
}
