#pragma once

#include "production/LogPlace.h"
#include "production/SerialNumber.h"

#include <QString>
#include <cstdint>
#include <optional>

// Where a run's serial numbers come from: the serial file on this machine, or a counter in the
// log's database that every bench writing to it shares, taken one number at a time or a block
// at a time into a reserve on the bench (which keeps the bench numbering chips while the server
// is away).
struct SerialSourcePlan
{
    QString filePath;    // the serial file, when no counter is named
    QString counterName; // a counter in the log's database
    int block = 1;       // numbers taken from the counter at a time; above 1, into the reserve
    LogPlace log;        // the counter's database
    QString benchFolder; // where the reserve lives
    std::uint64_t seed = 0;
    std::uint64_t step = 1;

    bool UsesCounter() const { return !counterName.isEmpty(); }
    // serial-reserve-NAME-TAG beside the local log, TAG naming the database.
    QString ReservePath() const;
};

// What the source holds before any port opens.
struct SerialOutlook
{
    std::optional<std::uint64_t> next; // the next number, as far as it can be known
    bool continues = false;            // an existing file, counter or reserve gives it
    QString error;                     // no number can be had: the run must not start
};

// Checks the source before the chip work: the serial file can be read and replaced; the
// counter's database can be reached (and is made ready), or the reserve still holds numbers.
SerialOutlook LookAheadSerial(const SerialSourcePlan &plan);

// Takes the next number for one chip, none above `largest`.
SerialTake TakeSerial(const SerialSourcePlan &plan, std::uint64_t largest);
