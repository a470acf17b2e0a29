#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

// One chip command on one port, as the production log keeps it.
struct ProductionRow
{
    qint64 id = 0;  // the log's own number for the row, set when it is read back
    QDateTime time; // when the port's work ended
    QString host;
    QString port;
    QString device;
    QString command; // the command line after the program name
    QString file;    // the hex file written to the chip, compared with or read into
    QString fileSha256;
    std::optional<std::uint16_t> checksum; // the image's checksum, where the command has one
    std::optional<std::uint64_t> serial;
    QString result; // ok, failed, file-error, port-error, stopped
    int exitCode = 0;
    int words = 0;
    qint64 elapsedMs = 0;
    QString detail; // the first difference or the failure's reason
    // From schema 2 on; empty in older rows.
    QString uid;            // the row's own id: a row sent twice is stored once
    QString station;        // the bench: its host name
    QString operatorName;   // who worked the bench (--operator, else the login name)
    QString lot;            // --lot
    QString programVersion; // the tolm that wrote the row
    QString operation;      // the command: write, verify, read, blank, erase, ...
};
