#include "cli/options/NamedFieldOptions.h"

#include "device/DeviceRecord.h"
#include "device/HexText.h"
#include "device/catalogue/PartDefinition.h"

namespace {

bool ShownByControls(const ConfigField &field)
{
    return field.control != FieldControl::List && field.control != FieldControl::Check;
}

const FieldValue *ValueNamed(const ConfigField &field, const QString &name)
{
    for (const FieldValue &value : field.values) {
        if (value.name.compare(name, Qt::CaseInsensitive) == 0)
            return &value;
    }
    return nullptr;
}

QStringList ValueNames(const ConfigField &field)
{
    QStringList names;
    for (const FieldValue &value : field.values)
        names << value.name;
    return names;
}

} // namespace

std::optional<QString> SetNamedField(const DeviceRecord &device, const QString &assignment,
                                     ConfigWords &words)
{
    const qsizetype equals = assignment.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return QStringLiteral("--field takes NAME=VALUE, not '%1'").arg(assignment);
    const QString name = assignment.left(equals);
    const QString valueName = assignment.mid(equals + 1);
    const auto &config = device.Part->config;
    for (size_t i = 0; i < config.size() && i < 2; ++i) {
        for (const ConfigField &field : config[i].fields) {
            if (field.name.compare(name, Qt::CaseInsensitive) != 0)
                continue;
            const FieldValue *value = ValueNamed(field, valueName);
            if (!value)
                return QStringLiteral("%1 has no %2 value '%3'; values: %4")
                    .arg(device.DeviceName, field.name, valueName,
                         ValueNames(field).join(QStringLiteral(", ")));
            std::uint16_t &word = i == 0 ? words.first : *words.second;
            word = static_cast<std::uint16_t>((word & ~field.mask) | value->bits);
            return std::nullopt;
        }
    }
    return QStringLiteral("%1 has no configuration field '%2'").arg(device.DeviceName, name);
}

QStringList NamedFieldLines(const DeviceRecord &device, const ConfigWords &words)
{
    QStringList lines;
    const auto &config = device.Part->config;
    for (size_t i = 0; i < config.size() && i < 2; ++i) {
        if (i == 1 && !words.second)
            break;
        const std::uint16_t word = i == 0 ? words.first : *words.second;
        for (const ConfigField &field : config[i].fields) {
            if (ShownByControls(field))
                continue;
            const auto bits = static_cast<std::uint16_t>(word & field.mask);
            QString shown = FormatHex(bits, 4);
            for (const FieldValue &value : field.values) {
                if (value.bits == bits)
                    shown = value.name;
            }
            lines << field.name.toLower() + QLatin1Char('=') + shown;
        }
    }
    return lines;
}
