#pragma once

#include "hexfile/HexConflicts.h"
#include "hexfile/HexLeftOut.h"
#include "hexfile/HexRecord.h"
#include "hexfile/HexTargets.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

struct DeviceRecord;
class MemoryImage;
class QIODevice;

// What "Load From File" needs to finish its work after the file has been read.
struct HexLoadResult
{
    // One flag per target: a record for the ticked target arrived and was stored.
    bool ProgramFound = false;
    bool DataFound = false;
    bool ConfigFound = false;
    bool IDCodeFound = false;
    // The part has a second configuration word (16F88X: 2008) and a record gave it; the
    // image's SecondConfigWord holds it.
    bool SecondConfigFound = false;

    // When ConfigFound: image.ConfigWord holds the last configuration record's word, and this
    // its four digits, for ConfigEdit. The caller then turns the word into the option
    // controls (ConfigToControls).
    QString ConfigEditText;

    // The report the window shows: "File loaded successfully" (information box), or warning
    // lines: "<Data> <ID Code> Records NOT found" when a ticked target found no record
    // (MissingRecords), where a damaged line ended the reading, and one line for each
    // stretch of the file that was left out. Not used when FileError is set.
    QString Report;
    bool MissingRecords = false;

    // The 1-based line that was not a valid record and ended the reading, and why; 0 when
    // reading ended at the end record or at the end of the file. Everything stored before
    // that line stays, but a chip must not be programmed from it believing it whole.
    int StoppedAtLine = 0;
    HexLineFault StopFault;
    QString StopReason; // "the checksum does not add up (checksum F8, should be F7)"

    // What lies where the device has no memory for it, for the ticked targets, in the order
    // met; LeftOutReport holds a line of text for each (the report lists them too).
    std::vector<HexLeftOut> LeftOut;
    int MoreLeftOut = 0; // groups beyond those kept in LeftOut
    QStringList LeftOutReport;

    // Addresses that two records give different values, in the order met; the later value
    // is in the image. ConflictReport holds a line of text for each (the report lists them
    // too).
    std::vector<HexConflict> Conflicts;
    int MoreConflicts = 0; // groups beyond those kept in Conflicts
    QStringList ConflictReport;

    bool AnyLeftOut() const { return !LeftOut.empty(); }
    bool AnyConflict() const { return !Conflicts.empty(); }
    // The report is a warning, not the success text.
    bool IsWarning() const
    {
        return MissingRecords || StoppedAtLine > 0 || AnyLeftOut() || AnyConflict();
    }
    // Some record was stored for at least one ticked target.
    bool FoundAny() const { return ProgramFound || DataFound || ConfigFound || IDCodeFound; }

    // Not empty: the file could not be opened or read, and this is the message to show in
    // place of the report. Records stored before the failure stay in the image, and
    // ConfigFound still tells whether the controls must follow the new word.
    QString FileError;
};

// Reads Intel HEX records into the image for the ticked targets, as "Load From File" does.
// The image is not cleared first: only the cells, ConfigWord and IDCodeText that records
// deliver change; later records win, and records that give one address different values
// are reported as conflicts. Lines may end in CR LF, CR or LF; Ctrl-Z ends the
// file; a UTF-8 byte-order mark at its start and blanks around a record are passed over;
// reading stops at the end record or at the first line that is not a valid record. Records
// of types other than 00 are not stored; an extended segment address moves the data records
// after it, and data records above 64 KiB (after an extended linear address other than 0000,
// or a segment that reaches that far) are skipped until a zero address returns.
// Each word goes where its own address says; words, data bytes and records for which the
// device has no place are reported as left out.
HexLoadResult LoadHexFile(const QString &path, MemoryImage &image, const DeviceRecord &device,
                          const HexTargets &targets);
HexLoadResult LoadHexBytes(const QByteArray &bytes, MemoryImage &image, const DeviceRecord &device,
                           const HexTargets &targets);
// The source must be open for reading.
HexLoadResult LoadHexFromDevice(QIODevice &source, MemoryImage &image, const DeviceRecord &device,
                                const HexTargets &targets);
