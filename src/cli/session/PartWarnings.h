#pragma once

#include <cstdint>

class CliContext;
struct DeviceRecord;

// Before the first change to a chip of a part not yet written and verified on a real chip
// through the module: one warning a run, however many ports and commands follow.
void WarnIfUnconfirmed(CliContext &ctx, const DeviceRecord &device);

// Before writing a configuration word for which the part's programming guide asks for
// Vpp before Vdd (MCLR off with the internal oscillator): the module always raises Vdd first,
// so the chip's program may start before programming mode is entered.
void WarnIfVppBeforeVdd(CliContext &ctx, const DeviceRecord &device, std::uint16_t configWord);
