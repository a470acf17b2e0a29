#include "cli/CommandTable.h"

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
    {"read", "Read the chip into a hex file.", RunReadCommand},
    {"write", "Write a hex file to the chip.", RunWriteCommand},
    {"verify", "Verify the chip against a hex file.", RunVerifyCommand},
    {"detect", "Print the chip's device ID and the part it names.", RunDetectCommand},
    {"blank", "Blank-check the chip.", RunBlankCommand},
    {"erase", "Unprotect and erase the chip.", RunEraseCommand},
    {"protect", "Code-protect the whole chip.", RunProtectCommand},
    {"config read", "Print the chip's configuration word.", RunConfigReadCommand},
    {"config write", "Program the chip's configuration word.", RunConfigWriteCommand},
    {"config2 read", "Print the chip's second configuration word.", RunConfig2ReadCommand},
    {"config2 write", "Program the chip's second configuration word.", RunConfig2WriteCommand},
    {"cal read", "Print the chip's oscillator calibration value.", RunCalReadCommand},
    {"cal write", "Program the oscillator calibration value.", RunCalWriteCommand},
    {"id read", "Print the chip's ID code.", RunIdReadCommand},
    {"id write", "Program the chip's ID code.", RunIdWriteCommand},
    {"ports", "List the serial ports, their drivers and whether they may be opened.",
     RunPortsCommand},
    {"log", "Print the production log's rows.", RunLogCommand},
};
} // namespace

const CliCommand *CliCommandTable(int &count)
{
    count = static_cast<int>(sizeof kCommands / sizeof kCommands[0]);
    return kCommands;
}
