#include "HexReader.h"

#include "HexLayout.h"
#include "HexRecord.h"
#include "device/DeviceRecord.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

// The longest valid record is 11 + 2 x 255 characters; a longer line is cut here, which is
// enough to make it fail, without holding a runaway line in memory.
constexpr qsizetype kLongestLine = 600;
constexpr char kCtrlZ = '\x1A';

// Splits a hex file into lines. Assemblers on Linux end lines with LF alone, older tools
// with CR LF or CR: each of them ends a line. Ctrl-Z marks the end of the file, as it did
// for the tools that first wrote this format.
class HexLineSource
{
public:
    explicit HexLineSource(QIODevice &source) : m_source(source) {}

    // The next line without its line end; false at the end of the file.
    bool Next(QByteArray &line)
    {
        line.clear();
        if (m_ended)
            return false;
        char c = 0;
        bool sawAny = false;
        while (m_source.getChar(&c)) {
            if (m_skipLineFeed) {
                m_skipLineFeed = false;
                if (c == '\n')
                    continue;
            }
            sawAny = true;
            if (c == kCtrlZ) {
                m_ended = true;
                return !line.isEmpty();
            }
            if (c == '\r' || c == '\n') {
                m_skipLineFeed = c == '\r';
                return true;
            }
            line.append(c);
            if (line.size() > kLongestLine)
                return true;
        }
        m_ended = true;
        return sawAny;
    }

private:
    QIODevice &m_source;
    bool m_skipLineFeed = false;
    bool m_ended = false;
};

// Where each target's records lie, in word addresses, for the selected device.
struct TargetWindows
{
    uint32_t programLimit;
    uint32_t dataFirst;
    uint32_t dataLimit;
    uint32_t idFirst;
    uint32_t idLast;
    uint32_t configAddress;
};

TargetWindows WindowsFor(const DeviceRecord &device)
{
    const uint32_t idFirst = FileIdAddress(device);
    // The ID window reaches one word past the four locations, as the loader always has.
    return {ParseHexText(device.ProgMaxText).value_or(0),
            HexLayout::kDataFirstWord,
            HexLayout::kDataFirstWord + ParseHexText(device.DataMaxText).value_or(0),
            idFirst,
            idFirst + HexLayout::kIdLocations,
            device.ConfigAddress};
}

// Stores one data record for every ticked target whose window holds its start address.
// Only the start is tested: a record that starts inside a window is stored whole.
void StoreRecord(const HexRecord &record, const TargetWindows &w, const HexTargets &targets,
                 MemoryImage &image, HexLoadResult &result)
{
    const uint32_t a = record.WordAddress;
    const int n = record.WordCount;
    if (n == 0)
        return; // a record without words delivers nothing to any target
    if (targets.Program && a <= w.programLimit) {
        result.ProgramFound = true;
        for (int i = 0; i < n; ++i)
            image.SetProgramWordText(static_cast<int>(a) + i, record.Word(i));
    }
    if (targets.Data && a >= w.dataFirst && a <= w.dataLimit) {
        result.DataFound = true;
        // A data byte travels as the low byte of a word; the high byte is padding.
        for (int i = 0; i < n; ++i)
            image.SetDataByteText(static_cast<int>(a - w.dataFirst) + i, record.Word(i).mid(2, 2));
    }
    if (targets.Config && a == w.configAddress) {
        result.ConfigFound = true;
        result.ConfigEditText = record.Word(0);
        image.ConfigWord = static_cast<uint16_t>(ParseHexText(result.ConfigEditText).value_or(0));
    }
    if (targets.IDCode && a >= w.idFirst && a <= w.idLast) {
        result.IDCodeFound = true;
        // Each ID location carries one digit in its low four bits.
        QString digits;
        for (int i = 0; i < n; ++i)
            digits += record.Word(i).back();
        image.IDCodeText = digits;
    }
}

bool HasNonZeroDigit(const QString &text)
{
    for (QChar c : text) {
        if (c != QLatin1Char('0'))
            return true;
    }
    return false;
}

void BuildReport(const HexTargets &targets, HexLoadResult &result)
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
    result.MissingRecords = !missing.isEmpty();
    QStringList lines;
    if (result.MissingRecords)
        lines << missing + QStringLiteral("Records NOT found");
    if (result.StoppedAtLine > 0)
        lines << QStringLiteral("Reading stopped at line %1: it is not a valid record. The "
                                "records after it were not loaded.")
                     .arg(result.StoppedAtLine);
    result.Report = lines.isEmpty() ? QStringLiteral("File loaded successfully")
                                    : lines.join(QLatin1Char('\n'));
}

// Extended linear (type 04) and extended segment (type 02) address records move the records
// that follow away from the first 64 KiB, where every memory of these chips lies.
bool IsAddressRecord(uint16_t type)
{
    return type == HexRecordType::kExtendedLinearAddress ||
           type == HexRecordType::kExtendedSegmentAddress;
}

} // namespace

HexLoadResult LoadHexFromDevice(QIODevice &source, MemoryImage &image, const DeviceRecord &device,
                                const HexTargets &targets)
{
    HexLoadResult result;
    const TargetWindows windows = WindowsFor(device);
    HexLineSource lines(source);
    QByteArray raw;
    int lineNumber = 0;
    // Set by an extended address other than 0000: the data records that follow lie away
    // from the first 64 KiB, where no memory of these chips is.
    bool aboveFirst64K = false;
    while (lines.Next(raw)) {
        ++lineNumber;
        const auto record = ParseHexRecord(QString::fromLatin1(raw));
        if (!record) {
            result.StoppedAtLine = lineNumber;
            break;
        }
        if (record->RecordType == HexRecordType::kEndOfFile)
            break;
        if (IsAddressRecord(record->RecordType))
            aboveFirst64K = HasNonZeroDigit(record->DataText);
        if (record->RecordType != HexRecordType::kData || aboveFirst64K)
            continue;
        StoreRecord(*record, windows, targets, image, result);
    }
    BuildReport(targets, result);
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
