#include "CatalogueInUse.h"

#include "PartRecord.h"

namespace {

struct InUse
{
    Catalogue catalogue;
    std::vector<DeviceRecord> devices;
    QStringList names;
};

const InUse &Loaded()
{
    // A function-local static: loaded once, also when several threads ask at the same time.
    static const InUse inUse = [] {
        InUse loaded;
        loaded.catalogue = LoadCatalogue();
        for (const PartDefinition &part : loaded.catalogue.parts) {
            loaded.devices.push_back(ToDeviceRecord(std::make_shared<const PartDefinition>(part)));
            loaded.names << part.name;
        }
        return loaded;
    }();
    return inUse;
}

} // namespace

const Catalogue &CatalogueInUse()
{
    return Loaded().catalogue;
}

const std::vector<DeviceRecord> &DevicesInUse()
{
    return Loaded().devices;
}

std::optional<DeviceRecord> FindDevice(const QString &name)
{
    if (name.isEmpty())
        return NoDeviceRecord();
    for (const DeviceRecord &device : DevicesInUse()) {
        if (device.DeviceName == name)
            return device;
    }
    return std::nullopt;
}

const QStringList &SelectorDeviceNames()
{
    return Loaded().names;
}

QString ValidDeviceNamesText()
{
    return SelectorDeviceNames().join(QStringLiteral(", "));
}

DeviceRecord NoDeviceRecord()
{
    DeviceRecord none;
    none.ProgMaxText = QStringLiteral("0000");
    none.DataMaxText = QStringLiteral("00");
    // The no-device row has always offered the watchdog box; nothing else.
    none.HasWdt = 1;
    none.PowerOnMode = PowerOnMode::k16C5x;
    none.DeviceFamily = DeviceFamily::kNone;
    return none;
}
