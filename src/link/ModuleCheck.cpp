#include "link/ModuleCheck.h"

bool ModulePresent(ProgrammerModule &module)
{
    return module.ModulePowerOff();
}

ModuleSuitability CheckModuleForDevice(bool hasMemoryParity, ProgrammerModule &module)
{
    if (!hasMemoryParity) {
        return ModuleSuitability::Suitable;
    }
    std::uint8_t id = 0;
    if (!module.ModuleIdentify(id)) {
        return ModuleSuitability::NotConnected;
    }
    return id == kParityCapableModuleId ? ModuleSuitability::Suitable
                                        : ModuleSuitability::IncorrectModule;
}

const char *ModuleSuitabilityMessage(ModuleSuitability suitability)
{
    switch (suitability) {
    case ModuleSuitability::IncorrectModule:
        return kIncorrectModuleText;
    case ModuleSuitability::NotConnected:
        return kModuleNotAnsweringText;
    case ModuleSuitability::Suitable:
        break;
    }
    return "";
}
