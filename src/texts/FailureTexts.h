#pragma once

#include "engine/ChipResult.h"
#include "engine/EngineResult.h"
#include "engine/TargetSequence.h"
#include "link/ExchangeFailure.h"

#include <QString>

// Why chip work failed, in the words the desktop's boxes and tolm-cli's lines both use. The
// engine hands over facts (which exchange broke off and how, what a location read back);
// these turn them into one sentence.

// "no answer from the module to command 02 (Serial Read Data), reply byte 3"
QString ExchangeFailureText(const ExchangeFailure &failure);

// "read back 0FF8, expected 0FFF", or "ID location 2 read back 0005, expected 0003"
QString ReadBackText(const ReadBackDifference &difference);

// The reason a target failed, or empty when there is nothing to add to its box text: the
// first difference, the first word that is not blank, the module that stopped answering and
// where, the exchange that went wrong, the value read back.
QString TargetFailureReason(const TargetReport &report);

// Why a single-value operation (direct access, protection, calibration, erase, device ID)
// failed: the exchange that broke off, or what the location read back.
QString FailureReason(const ChipFailure &failure);

// A calibration word that read back with bits cleared that the new value needs set: an EPROM
// bit once programmed to 0 cannot go back to 1.
QString CalibrationWriteReason(const ChipFailure &failure);

// The module stopped answering (or the port went away) during the target: no chip fault.
bool ModuleStoppedAnswering(const TargetReport &report);
