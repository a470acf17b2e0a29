#include "PartRecord.h"

#include "PartAlgorithms.h"
#include "PartNames.h"

#include "device/HexText.h"

namespace {

uint8_t Has(const PartDefinition &part, FieldControl control)
{
    return FieldFor(part, control) ? 1 : 0;
}

uint16_t ProtectionWord(const ConfigWordDef &word, const QString &choice)
{
    const auto it = word.protectionWords.find(choice);
    return it == word.protectionWords.end() ? 0 : it->second;
}

void FillProtection(const PartDefinition &part, DeviceRecord &r)
{
    const ConfigField *cp = FieldFor(part, FieldControl::Protection);
    if (!cp)
        return;
    r.HasPartialProtect = cp->Find(kProtectUpper34) || cp->Find(kProtectUpper12) ? 1 : 0;
    // Only the word-built protection lives in the record; patterns are read from the field.
    const ConfigWordDef &word = part.config.front();
    if (word.protection != ProtectionStyle::Words)
        return;
    r.ProtMask = cp->mask;
    r.ProtNoneWord = ProtectionWord(word, kProtectNone);
    r.ProtUp34Word = ProtectionWord(word, kProtectUpper34);
    r.ProtUp12Word = ProtectionWord(word, kProtectUpper12);
    r.ProtAllWord = ProtectionWord(word, kProtectAll);
}

} // namespace

const ConfigField *FieldFor(const PartDefinition &part, FieldControl control)
{
    return part.config.empty() ? nullptr : part.config.front().FieldWith(control);
}

DeviceRecord ToDeviceRecord(const PartDefinition &part)
{
    return ToDeviceRecord(std::make_shared<const PartDefinition>(part));
}

DeviceRecord ToDeviceRecord(std::shared_ptr<const PartDefinition> shared)
{
    const PartDefinition &part = *shared;
    const AlgorithmInfo &info = InfoOf(part.algorithm);
    DeviceRecord r;
    r.DeviceName = part.name;
    r.NoConfigWord = part.config.empty() ? 1 : 0;
    r.ProgMaxText = FormatHex(static_cast<uint32_t>(part.programWords - 1), 4);
    r.DataMaxText = part.dataBytes > 0 ? FormatHex(static_cast<uint32_t>(part.dataBytes - 1), 2)
                                       : QStringLiteral("00");
    r.HasSerial = part.serial ? 1 : 0;
    r.HasParallel = part.parallel ? 1 : 0;
    r.HasDataMemory = part.dataBytes > 0 ? 1 : 0;
    r.HasWdt = Has(part, FieldControl::WdtCbx);
    r.HasPwrt = Has(part, FieldControl::PutCbx);
    const ConfigField *pwrt = FieldFor(part, FieldControl::PutCbx);
    const FieldValue *pwrtOn = pwrt ? pwrt->Find(kValueOn) : nullptr;
    r.PwrtActiveHigh = pwrtOn && pwrtOn->bits != 0 ? 1 : 0;
    r.HasBrownout = Has(part, FieldControl::BOutCbx);
    r.HasMclre = Has(part, FieldControl::MClrCbx);
    r.HasLvp = Has(part, FieldControl::LvpCbx);
    r.HasDebug = Has(part, FieldControl::DebugCbx);
    r.HasWrt = Has(part, FieldControl::WrtCbx);
    r.HasCpd = Has(part, FieldControl::CpdCbx);
    r.HasMemoryParity = part.memoryParity ? 1 : 0;
    r.HasCalibration = LastWordCalibration(part) ? 1 : 0;
    FillProtection(part, r);
    r.IdAddress = part.idAddress;
    r.ConfigAddress = part.config.empty() ? 0 : part.config.front().address;
    r.PowerOnMode = info.powerOnMode;
    r.DeviceFamily = info.deviceFamily;
    r.Part = std::move(shared);
    return r;
}

QStringList OscillatorItems(const PartDefinition &part)
{
    QStringList items;
    if (const ConfigField *osc = FieldFor(part, FieldControl::OscBox)) {
        for (const FieldValue &value : osc->values)
            items << value.name;
    }
    return items;
}

int SelectedOscillatorItem(const PartDefinition &part)
{
    const QStringList items = OscillatorItems(part);
    const ConfigField *osc = FieldFor(part, FieldControl::OscBox);
    if (osc && osc->selected && items.contains(*osc->selected))
        return static_cast<int>(items.indexOf(*osc->selected));
    return static_cast<int>(items.size()) - 1;
}

const CalibrationDef *LastWordCalibration(const PartDefinition &part)
{
    for (const CalibrationDef &cal : part.calibration) {
        if (cal.kind == CalibrationKind::MovlwLastWord ||
            cal.kind == CalibrationKind::RetlwLastWord)
            return &cal;
    }
    return nullptr;
}
