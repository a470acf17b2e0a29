#include "ConfigFields.h"

#include "DeviceRecord.h"

#include "catalogue/PartDefinition.h"
#include "catalogue/PartNames.h"

const std::vector<ConfigWordDef> *ConfigWordsOf(const DeviceRecord &device)
{
    return device.Part ? &device.Part->config : nullptr;
}

std::vector<OwnField> OwnFieldsOf(const DeviceRecord &device)
{
    std::vector<OwnField> own;
    const std::vector<ConfigWordDef> *words = ConfigWordsOf(device);
    if (!words)
        return own;
    for (size_t w = 0; w < words->size(); ++w) {
        for (const ConfigField &field : (*words)[w].fields) {
            if (field.control == FieldControl::List || field.control == FieldControl::Check)
                own.push_back({static_cast<int>(w), &field});
        }
    }
    return own;
}

int FieldValueIndex(const ConfigField &field, std::uint16_t word)
{
    for (size_t i = 0; i < field.values.size(); ++i) {
        if (field.values[i].bits == (word & field.mask))
            return static_cast<int>(i);
    }
    return -1;
}

std::uint16_t WithFieldValue(std::uint16_t word, const ConfigField &field, int index)
{
    if (index < 0 || index >= static_cast<int>(field.values.size()))
        return word;
    const auto cleared = static_cast<std::uint16_t>(word & ~field.mask);
    return static_cast<std::uint16_t>(cleared |
                                      (field.values[static_cast<size_t>(index)].bits & field.mask));
}

int CheckedValueIndex(const ConfigField &field, bool checked)
{
    const QString &name = checked ? kValueOn : kValueOff;
    for (size_t i = 0; i < field.values.size(); ++i) {
        if (field.values[i].name == name)
            return static_cast<int>(i);
    }
    return -1;
}
