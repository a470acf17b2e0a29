#include "cli/options/ConfigControlOptions.h"

#include "device/DeviceOptions.h"
#include "device/DeviceRecord.h"

namespace {
using C = ConfigControls;
using E = ConfigControlsEnabled;
const CliBox kBoxes[] = {
    {"wdt", "Watchdog Enable", &C::WdtCbx, &E::WdtCbx},
    {"pwrt", "Power Up Timer", &C::PutCbx, &E::PutCbx},
    {"lvp", "Low Voltage Prog Enable", &C::LvpCbx, &E::LvpCbx},
    {"bor", "Brownout", &C::BOutCbx, &E::BOutCbx},
    {"mclr", "MCLR Enable", &C::MClrCbx, &E::MClrCbx},
    {"debug", "Debug", &C::DebugCbx, &E::DebugCbx},
    {"cpd", "Code Protect Data E2R", &C::CpdCbx, &E::CpdCbx},
    {"wrt", "Prg Mem Write Enable", &C::WrtCbx, &E::WrtCbx},
    {"mpeen", "Memory Parity Error Enable", &C::MpeenCbx, &E::MpeenCbx},
};
} // namespace

const CliBox *CliBoxes(int &count)
{
    count = static_cast<int>(sizeof kBoxes / sizeof kBoxes[0]);
    return kBoxes;
}

std::optional<int> FindOscillatorItem(const DeviceRecord &device, const QString &item)
{
    const QStringList items = OscillatorList(device);
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].compare(item.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    }
    bool isNumber = false;
    const int index = item.toInt(&isNumber);
    if (isNumber && index >= 0 && index < items.size())
        return index;
    return std::nullopt;
}

ConfigControls FreshControls(const DeviceRecord &device)
{
    return ControlsAfterDeviceSelection(device, ConfigControls{}); // every box unchecked
}

std::uint16_t ConfigWordThroughControls(const DeviceRecord &device, std::uint16_t word,
                                        bool delivered)
{
    ConfigControls controls = FreshControls(device);
    if (delivered)
        controls = ConfigToControls(word, device, controls);
    return ControlsToConfig(controls, device, word);
}
