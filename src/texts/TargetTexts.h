#pragma once

#include "engine/ChipTarget.h"
#include "engine/EngineHost.h"

#include <QString>
#include <cstdint>

struct TargetReport;

// The sentences of the four operations over the targets: the status line while a target runs,
// the box after it, the user's names of the targets.

// The status line: "Reading Program Memory ...", "Blank Checking ID Code", "Erasing ...".
QString StatusText(const ChipActivity &activity);

// The box text for one target's result by its fixed table: the failure message, or the
// success text of Verify and Blank Check; empty for a Read or Write target that succeeded.
QString TargetMessage(ChipOperation operation, ChipTarget target, bool succeeded);

// The box text for a reported target: the table's text, or what ended the sequence (an image
// cell that is not a number, a configuration word wider than the chip's, a Close that stopped a
// memory target midway). Empty when nothing is shown, also for a quiet success.
QString TargetMessage(const TargetReport &report);

// The user's name for a target ("Program Memory"), for terminal lines.
QString TargetName(ChipTarget target);

// What a memory target ended by Close says: "Verifying Program Memory stopped at 0040: the
// words from there on were not checked".
QString StoppedMessage(ChipOperation operation, ChipTarget target, std::uint16_t address);
