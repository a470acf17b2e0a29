#include "HexWriter.h"

#include "HexLayout.h"
#include "HexRecord.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "fileio/SafeSave.h"

#include <algorithm>

namespace {

constexpr uint32_t kDataByteBase = 2 * HexLayout::kDataFirstWord;
constexpr int kWordsPerRecord = 8;
using HexLayout::kIdLocations;

// Collects one record: the fields are upper-case hex, the data characters are copied as
// given, and the checksum is the two's complement of the sum of every byte's value.
class RecordBuilder
{
public:
    RecordBuilder(int byteCount, uint32_t byteAddress)
    {
        const uint32_t address = byteAddress & 0xFFFF; // byte addresses wrap in 16 bits
        m_line = QStringLiteral(":") + FormatHex(static_cast<uint32_t>(byteCount), 2) +
                 FormatHex(address, 4) + QStringLiteral("00");
        m_sum = static_cast<uint32_t>(byteCount) + (address >> 8) + (address & 0xFF);
    }

    void AppendByte(QStringView text, uint32_t value)
    {
        m_line += text;
        m_sum += value;
    }

    QString Finish() const { return m_line + FormatHex((0x100 - (m_sum & 0xFF)) & 0xFF, 2); }

private:
    QString m_line;
    uint32_t m_sum = 0;
};

// Two hex digits, exactly; anything else is what the conversion error names.
std::optional<uint32_t> ByteValue(QStringView text)
{
    return text.size() == 2 ? ParseHexText(text) : std::nullopt;
}

BuiltRecord Failure(QStringView text, const QString &location)
{
    return {QString(), InvalidHexMessage(text), location};
}

// Appends a program word low byte first, in the order its bytes are converted.
std::optional<BuiltRecord> AppendWord(RecordBuilder &builder, const QString &cell, int address)
{
    const QString location = QStringLiteral("program word %1").arg(FormatHex(address, 4));
    if (cell.size() != 4)
        return Failure(cell, location);
    const QStringView low = QStringView(cell).mid(2, 2);
    const QStringView high = QStringView(cell).mid(0, 2);
    for (QStringView byte : {low, high}) {
        const auto value = ByteValue(byte);
        if (!value)
            return Failure(byte, location);
        builder.AppendByte(byte, *value);
    }
    return std::nullopt;
}

// Cuts first..last into records of eight from the start, the rest in a shorter last one.
// A start above the end, or beyond the image, gives nothing.
template <typename Build>
std::optional<BuiltRecord> AppendRange(QStringList &lines, uint32_t first, uint32_t last,
                                       uint32_t imageLast, Build build)
{
    const uint64_t end = uint64_t{std::min(last, imageLast)} + 1;
    uint64_t a = first;
    while (a < end) {
        const int count = static_cast<int>(std::min<uint64_t>(kWordsPerRecord, end - a));
        BuiltRecord record = build(static_cast<int>(a), count);
        if (!record.Ok())
            return record;
        lines << record.Line;
        a += static_cast<uint64_t>(count);
    }
    return std::nullopt;
}

HexSaveResult ConversionFailure(const BuiltRecord &record)
{
    return {HexSaveStatus::ConversionError, record.Error, record.Location};
}

} // namespace

std::optional<HexAddressRanges> ParseAddressRanges(const HexAddressTexts &texts)
{
    const auto dataEnd = ParseHexText(texts.DataEnd);
    const auto dataStart = ParseHexText(texts.DataStart);
    const auto progEnd = ParseHexText(texts.ProgEnd);
    const auto progStart = ParseHexText(texts.ProgStart);
    if (!dataEnd || !dataStart || !progEnd || !progStart)
        return std::nullopt;
    return HexAddressRanges{*progStart, *progEnd, *dataStart, *dataEnd};
}

BuiltRecord BuildProgramRecord(const MemoryImage &image, int firstAddress, int wordCount)
{
    RecordBuilder builder(2 * wordCount, 2 * static_cast<uint32_t>(firstAddress));
    for (int i = 0; i < wordCount; ++i) {
        const int address = firstAddress + i;
        if (auto failure = AppendWord(builder, image.GetProgramWordText(address), address))
            return *failure;
    }
    return {builder.Finish(), QString(), QString()};
}

BuiltRecord BuildDataRecord(const MemoryImage &image, int firstAddress, int byteCount)
{
    RecordBuilder builder(2 * byteCount, kDataByteBase + 2 * static_cast<uint32_t>(firstAddress));
    for (int i = 0; i < byteCount; ++i) {
        const int address = firstAddress + i;
        const QString cell = image.GetDataByteText(address);
        const auto value = ByteValue(cell);
        if (!value)
            return Failure(cell, QStringLiteral("data byte %1").arg(FormatHex(address, 2)));
        // Each data byte travels as the low byte of a word.
        builder.AppendByte(cell, *value);
        builder.AppendByte(u"00", 0);
    }
    return {builder.Finish(), QString(), QString()};
}

QString BuildConfigRecord(uint16_t configWord, const DeviceRecord &device)
{
    return BuildWordRecord(configWord, device.ConfigAddress);
}

QString BuildWordRecord(uint16_t word, uint32_t wordAddress)
{
    RecordBuilder builder(2, 2 * wordAddress);
    const uint32_t low = word & 0xFFu;
    const uint32_t high = word >> 8;
    builder.AppendByte(FormatHex(low, 2), low);
    builder.AppendByte(FormatHex(high, 2), high);
    return builder.Finish();
}

BuiltRecord BuildIDCodeRecord(const QString &idCodeText, const DeviceRecord &device)
{
    // An ID record of fewer words than locations leaves a short text; the missing locations
    // are written erased.
    const QString digits = idCodeText.left(kIdLocations).leftJustified(kIdLocations, 'F');
    RecordBuilder builder(2 * kIdLocations, 2 * uint32_t{FileIdAddress(device)});
    for (QChar digit : digits) {
        const QString text = QStringLiteral("0") + digit;
        const auto value = ParseHexText(text);
        if (!value)
            return Failure(QString(digit), QStringLiteral("ID code"));
        builder.AppendByte(text, *value);
        builder.AppendByte(u"00", 0);
    }
    return {builder.Finish(), QString(), QString()};
}

HexSaveResult BuildHexFileText(const MemoryImage &image, const DeviceRecord &device,
                               const HexTargets &targets, const HexAddressTexts &addresses,
                               QByteArray &text)
{
    const auto ranges = ParseAddressRanges(addresses);
    if (!ranges)
        return {HexSaveStatus::AddressError, QString::fromLatin1(kAddressErrorText), QString()};

    QStringList lines;
    if (targets.Program) {
        const auto failure =
            AppendRange(lines, ranges->ProgStart, ranges->ProgEnd, MemoryImage::kProgramWords - 1,
                        [&image](int a, int n) { return BuildProgramRecord(image, a, n); });
        if (failure)
            return ConversionFailure(*failure);
    }
    if (targets.Data) {
        const auto failure =
            AppendRange(lines, ranges->DataStart, ranges->DataEnd, MemoryImage::kDataBytes - 1,
                        [&image](int a, int n) { return BuildDataRecord(image, a, n); });
        if (failure)
            return ConversionFailure(*failure);
    }
    if (targets.Config) {
        lines << BuildConfigRecord(image.ConfigWord, device);
        if (const auto second = SecondConfigAddress(device))
            lines << BuildWordRecord(image.SecondConfigWord, *second);
    }
    if (targets.IDCode) {
        const BuiltRecord id = BuildIDCodeRecord(image.IDCodeText, device);
        if (!id.Ok())
            return ConversionFailure(id);
        lines << id.Line;
    }
    lines << QString::fromLatin1(kHexEndOfFileRecord);

    text.clear();
    for (const QString &line : lines)
        text += line.toLatin1() + "\r\n";
    return {};
}

HexSaveResult SaveHexFile(const QString &path, const MemoryImage &image, const DeviceRecord &device,
                          const HexTargets &targets, const HexAddressTexts &addresses)
{
    QByteArray text;
    HexSaveResult result = BuildHexFileText(image, device, targets, addresses, text);
    if (!result.Ok())
        return result;
    // All or nothing: a full disk or a lost mount never leaves a half-written file where a
    // good one was, and a FIFO or device node given as the file is refused, not replaced.
    const SafeSaveResult saved = SaveFileSafely(path, text);
    if (!saved.Ok) {
        result.Status = HexSaveStatus::FileError;
        result.Message = QStringLiteral("Cannot write file \"%1\". %2").arg(path, saved.Reason);
    }
    return result;
}
