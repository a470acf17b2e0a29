#pragma once

#include "engine/ChipResult.h"
#include "engine/TargetSequence.h"

#include <QString>
#include <optional>

// What a port's chip work failed at, kept as facts where it is reported, for the production
// log's detail: the terminal's lines may be worded as they like without the log losing why a
// chip failed.
struct WorkFailure
{
    // An operation's target that failed, was stopped, or ended a write early.
    std::optional<TargetReport> target = std::nullopt;
    // --on-write-error ignore: words left as the chip took them.
    int skippedWords = 0;
    // Anything else: what failed, in the command's own fixed words ("COM Port Error",
    // "Error Reading Configuration"), and why: the exchange or read-back behind it, or the
    // system's reason a port or file could not be used.
    QString step = {};
    std::optional<ChipFailure> cause = std::nullopt;
    QString systemReason = {};
};

// The log's detail: the first difference as "prog 01A0 expected 1234 read 3FFF", or what failed
// and why ("Error Writing Program Memory: the write ended at 0005 (--on-write-error)").
QString WorkFailureDetail(const WorkFailure &failure);
