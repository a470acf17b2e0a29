#pragma once

#include "engine/ChipErase.h"
#include "engine/PicEngine.h"
#include "engine/TargetSequence.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

struct DeviceRecord;

// Erase, then write: on a flash part the code-protect disable sequence erases the whole chip,
// after which only the words that differ from the blank value need programming; a small
// program on a large chip then takes a fraction of the time. tolm-cli's write --fast and the
// desktop's "Erase before write" both run this plan.

// Why the plan cannot run. An EPROM part has no electrical erase. And since the erase takes
// everything, the write must put everything back: every target the device has, over its
// whole ranges.
enum class EraseThenWriteRefusal { NotErasable, PartOfChip };

// What the write would cover: the ticked targets and the four address fields as shown.
struct EraseThenWriteCover
{
    std::function<bool(ChipTarget)> ticked;
    QString progStart, progEnd, dataStart, dataEnd;
};

std::optional<EraseThenWriteRefusal> CheckEraseThenWrite(const DeviceRecord &device,
                                                         const EraseThenWriteCover &cover);

// One step after the erase: an operation over either the memories (program, data and ID
// code) or the configuration word alone.
struct EraseThenWriteStep
{
    ChipOperation operation = ChipOperation::Write;
    bool memories = true;
    PicEngine::WriteScope scope = PicEngine::WriteScope::EveryWord;

    bool Covers(ChipTarget target) const { return memories == (target != ChipTarget::ConfigWord); }
};

// The memories written (blank words stepped over) and verified, then the configuration word
// written and verified: it comes last because code protection would make the memories read
// back as zeros. A part without a configuration word stops after the memories.
QList<EraseThenWriteStep> EraseThenWriteSteps(const DeviceRecord &device);

enum class EraseThenWriteEnd { Done, EraseFailed, StepFailed, Closed };

// How the plan ended; after EraseFailed, what stopped the erase.
struct EraseThenWriteOutcome
{
    EraseThenWriteEnd end = EraseThenWriteEnd::Done;
    std::optional<ChipFailure> eraseFailure;
};

// Shows the erase as the activity and erases the chip, then hands each step to runStep, which
// runs it and gives false when it failed: a chip that failed a step is rejected and nothing
// more is written to it. A Close (or a stop signal) ends the plan after the step in progress
// (Closed), so no configuration word is put on a chip whose memories were left half written.
// oscCal: LeftForTheWrite when the write puts the file's calibration word on the chip
// (--write-cal), so the erase does not put the chip's own back under it.
EraseThenWriteOutcome
RunEraseThenWrite(PicEngine &engine, const std::function<bool(const EraseThenWriteStep &)> &runStep,
                  OscCalAfterErase oscCal = OscCalAfterErase::PutBack);
