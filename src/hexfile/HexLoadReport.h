#pragma once

#include <QString>

struct DeviceRecord;
struct HexConflict;
struct HexLeftOut;
struct HexLineFault;
struct HexLoadResult;
struct HexTargets;

// The words a load reports, shared by the desktop's message box and tolm-cli.

// Why a line is not a record: "the checksum does not add up (checksum F8, should be F7)".
QString HexLineFaultText(const HexLineFault &fault);

// One stretch left out: "8 words at 0400-0407 lie beyond the 16f84's program memory
// (0000-03FF) and were left out".
QString HexLeftOutText(const HexLeftOut &group, const DeviceRecord &device);

// One address or stretch given two values: "the configuration word is given twice: 3FF1 at
// line 1, 0000 at line 2".
QString HexConflictText(const HexConflict &conflict);

// Fills in the result's texts from its facts: StopReason, LeftOutReport, ConflictReport,
// MissingRecords and Report.
void BuildHexLoadReport(const HexTargets &targets, const DeviceRecord &device,
                        HexLoadResult &result);
