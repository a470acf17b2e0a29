#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

struct DeviceRecord;

// The configuration words a part file names fields in: the first, and the second on the parts
// that have one (16F88X). `config build --field NAME=VALUE` sets a field by its names;
// `config decode` prints the fields the option controls do not show.
struct ConfigWords
{
    std::uint16_t first = 0;
    std::optional<std::uint16_t> second;
};

// Sets NAME=VALUE (names compared without regard to case) in the word that has the field.
// The reason it cannot, for a usage error.
std::optional<QString> SetNamedField(const DeviceRecord &device, const QString &assignment,
                                     ConfigWords &words);

// "name=value" for each field no option control stands for (lists, own check boxes), in file
// order, first word then second; a value no name has gives "name=XXXX" (the field's bits).
QStringList NamedFieldLines(const DeviceRecord &device, const ConfigWords &words);
