#pragma once

#include "cli/production/ProductionRun.h"

#include <QString>
#include <functional>

class ChipSession;
class CliContext;
class MemoryImage;
struct ChipSetup;

// The chip work of a command on one port: a session of its own, already open and checked,
// and the port's name.
using ChipWork = std::function<int(ChipSession &session, const QString &port)>;

// Runs `work` on every port of the setup, each port with its own session over its own copy
// of `input` (made on the port's thread: the image is a QObject). On each port, in this
// order: the port opened and the module checked, the device ID checked, the chip's serial
// number placed in its image, then the work. Ctrl-C and SIGTERM are noted for the whole run.
// Each port gets its row in the production log (and its serial number and summary line as
// `facts` ask). Gives the worst port's exit code.
int RunChipWork(CliContext &ctx, const ChipSetup &setup, const MemoryImage &input,
                const ChipWork &work, const ProductionFacts &facts = {});

// A copy of every cell, the configuration words and the ID code.
void CopyImage(const MemoryImage &from, MemoryImage &to);
