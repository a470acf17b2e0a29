#pragma once

#include "engine/TargetSequence.h"
#include "production/BenchFacts.h"
#include "production/ProductionRow.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// One Start of Read, Write, Verify or Blank Check in the desktop program, as the production log
// keeps it: the same row tolm-cli writes for the same command, so a bench that works with the
// window counts in the day's summary too.
struct DesktopRun
{
    ChipOperation operation = ChipOperation::Read;
    QString device;
    QString port;
    QString file; // the hex file last loaded or saved; empty for none
    std::optional<std::uint16_t> checksum;
    std::vector<TargetReport> reports; // each target's, in the order run
    qint64 elapsedMs = 0;
};

// The row: result ok, failed, port-error (the module never answered) or stopped (Close), the
// exit code tolm-cli would give, the words done, and the first failure's words as its detail.
ProductionRow DesktopProductionRow(const BenchFacts &bench, const DesktopRun &run);
