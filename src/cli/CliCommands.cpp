#include "CliCommands.h"

namespace {
const CliCommand kCommands[] = {
    {"devices", "List the devices in the selector's order.", RunDevicesCommand},
    {"config build", "Print the configuration word built from option controls.",
     RunConfigBuildCommand},
    {"config decode", "Print the option controls a configuration word selects.",
     RunConfigDecodeCommand},
    {"convert", "Load a hex file into a fresh image and save it over the ranges.",
     RunConvertCommand},
    {"show", "Print what a hex file delivers for the targets.", RunShowCommand},
    {"probe", "Check that a programmer module answers on the port.", RunProbeCommand},
    {"identify", "Print the programmer module's identification byte.", RunIdentifyCommand},
};
} // namespace

const CliCommand *CliCommandTable(int &count)
{
    count = static_cast<int>(sizeof kCommands / sizeof kCommands[0]);
    return kCommands;
}
