#pragma once

#include "engine/EraseThenWrite.h"
#include "engine/TargetSequence.h"

#include <QString>

class Messages;
class PicEngine;
class SequenceSummary;
struct DeviceRecord;

// Write To PIC with "Erase before write" ticked: the erase-then-write plan over the ticked
// targets, as tolm-cli's write --fast runs it. Checked when Start is pressed, with the device,
// targets and address fields of that moment; a refusal is a warning box with its reason and
// nothing is sent. A failed erase shows "Communication Error", as Unprotect does, or, when the
// module stopped answering, `noAnswerText`. The verify steps show a box only when they fail:
// the summary line says they passed.
void RunEraseBeforeWrite(PicEngine &engine, const TargetSequenceHooks &hooks, Messages &messages,
                         SequenceSummary &summary, const QString &noAnswerText);

// The warning for a refused erase-then-write.
QString EraseBeforeWriteRefusalText(EraseThenWriteRefusal refusal, const DeviceRecord &device);
