#pragma once

#include "link/ProgrammerModule.h"

#include <cstdint>

// Memory-parity devices need a module that speaks the parity transfer form; such a module
// identifies itself with this byte.
constexpr std::uint8_t kParityCapableModuleId = 0xAA;

// The texts the user sees for the checks below.
inline constexpr const char *kModuleConnectedText = "Programmer Device Connected";
inline constexpr const char *kModuleNotConnectedText = "Programmer Device NOT Connected";
inline constexpr const char *kIncorrectModuleText = "Incorrect Programmer Device";
inline constexpr const char *kModuleNotAnsweringText = "Programmer Device Not Connected";

// Connect's presence check: the module's power-off command, answered with the acknowledge
// byte, proves a module is there. Being power-off, it also leaves the target unpowered and
// the host out of parity mode.
bool ModulePresent(ProgrammerModule &module);

enum class ModuleSuitability {
    Suitable,        // go on
    IncorrectModule, // a module answered with a foreign identification byte
    NotConnected,    // the identification exchange did not complete
};

// Whether the module suits the selected device before a chip operation. A device without
// memory parity works with any module, so nothing is sent for it, not even when no module is
// attached. The check sends no power command.
ModuleSuitability CheckModuleForDevice(bool hasMemoryParity, ProgrammerModule &module);

// The message for a module that does not suit the device; empty for Suitable.
const char *ModuleSuitabilityMessage(ModuleSuitability suitability);
