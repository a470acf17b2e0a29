#pragma once

#include "engine/EngineResult.h"
#include "engine/TargetSequence.h"

#include <QString>
#include <vector>

struct DeviceRecord;

// How the desktop judges one target's result. The engine counts an ending the user chose
// (Abort in the write error box) and words the user skipped (Ignore) as its own success: it
// did what it was told. The chip, though, does not hold what the user loaded, so the run has
// failed and the user is told which words did not take.
bool TargetFailed(const TargetReport &report);

// Why the target failed in the user's words, or empty when nothing can be added: the words
// skipped, where an Abort ended the write, else the engine's reason (first difference, the
// exchange that broke off).
QString TargetResultReason(const TargetReport &report);

// "1 word not written: 0010, expected 2222, read 3FFF"; the first few words, then how many
// more. Data bytes have two-digit addresses and values.
QString WordsNotWrittenText(const std::vector<WordNotWritten> &words, bool dataMemory);

// "aborted at 0010, which did not take (expected 2222, read 3FFF); the words from there on
// were not written"
QString AbortedAtText(const WordNotWritten &word, bool dataMemory);

// The detail under the write error box: what the word should hold and what it reads, and for
// the calibration word of the 12c508, 12c509 and 12ce674 which value was written (the image's,
// not the Calibration field's) and whether the image holds a calibration word at all.
QString WriteErrorDetail(const WordNotWritten &word, bool dataMemory, const DeviceRecord &device,
                         const QString &calibrationFieldText);

// A reason put under a box's fixed text reads as a sentence of its own: first letter up.
QString AsSentence(QString reason);
