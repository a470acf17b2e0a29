#include "PartDefinition.h"

const FieldValue *ConfigField::Find(const QString &valueName) const
{
    for (const FieldValue &value : values) {
        if (value.name == valueName)
            return &value;
    }
    return nullptr;
}

const ConfigField *ConfigWordDef::FieldWith(FieldControl control) const
{
    for (const ConfigField &field : fields) {
        if (field.control == control)
            return &field;
    }
    return nullptr;
}

SourcePos PartSource::Where(const QString &path) const
{
    QString key = prefix.isEmpty() ? path : prefix + QLatin1Char('.') + path;
    while (true) {
        const auto it = keys.find(key);
        if (it != keys.end())
            return it->second;
        const qsizetype dot = key.lastIndexOf(QLatin1Char('.'));
        if (dot < 0)
            break;
        key.truncate(dot);
    }
    const auto it = keys.find(prefix);
    return it != keys.end() ? it->second : SourcePos{1, 1};
}
