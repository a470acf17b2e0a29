#include "PartNames.h"

#include <array>
#include <utility>

namespace {

template <typename E, size_t N>
std::optional<E> Lookup(const std::array<std::pair<E, const char *>, N> &table, QStringView name)
{
    for (const auto &[value, text] : table) {
        if (name == QLatin1String(text))
            return value;
    }
    return std::nullopt;
}

template <typename E, size_t N>
QString Spell(const std::array<std::pair<E, const char *>, N> &table, E value)
{
    for (const auto &[v, text] : table) {
        if (v == value)
            return QString::fromLatin1(text);
    }
    return {};
}

using FC = FieldControl;
constexpr std::array<std::pair<FC, const char *>, 14> kControls = {{
    {FC::OscBox, "OscBox"},
    {FC::Protection, "protection"},
    {FC::WdtCbx, "WdtCbx"},
    {FC::PutCbx, "PutCbx"},
    {FC::BOutCbx, "BOutCbx"},
    {FC::MClrCbx, "MClrCbx"},
    {FC::LvpCbx, "LvpCbx"},
    {FC::DebugCbx, "DebugCbx"},
    {FC::WrtCbx, "WrtCbx"},
    {FC::CpdCbx, "CpdCbx"},
    {FC::MpeenCbx, "MpeenCbx"},
    {FC::Check, "check"},
    {FC::List, "list"},
    {FC::None, "none"},
}};

constexpr std::array<std::pair<CalibrationKind, const char *>, 4> kCalibrationKinds = {{
    {CalibrationKind::MovlwLastWord, "movlw-last-word"},
    {CalibrationKind::RetlwLastWord, "retlw-last-word"},
    {CalibrationKind::ConfigWord, "config-word"},
    {CalibrationKind::BandGap, "band-gap"},
}};

constexpr std::array<std::pair<ProtectionStyle, const char *>, 2> kStyles = {{
    {ProtectionStyle::Words, "words"},
    {ProtectionStyle::Patterns, "patterns"},
}};

constexpr std::array<std::pair<AllCodeProtect, const char *>, 3> kAllCodeProtect = {{
    {AllCodeProtect::FromControls, "from-controls"},
    {AllCodeProtect::ClearProtectionBits, "clear-protection-bits"},
    {AllCodeProtect::Unchanged, "unchanged"},
}};

} // namespace

std::optional<FieldControl> ControlNamed(QStringView name)
{
    return Lookup(kControls, name);
}

QString NameOf(FieldControl control)
{
    return Spell(kControls, control);
}

std::optional<CalibrationKind> CalibrationKindNamed(QStringView name)
{
    return Lookup(kCalibrationKinds, name);
}

QString NameOf(CalibrationKind kind)
{
    return Spell(kCalibrationKinds, kind);
}

std::optional<ProtectionStyle> ProtectionStyleNamed(QStringView name)
{
    return Lookup(kStyles, name);
}

QString NameOf(ProtectionStyle style)
{
    return Spell(kStyles, style);
}

std::optional<AllCodeProtect> AllCodeProtectNamed(QStringView name)
{
    return Lookup(kAllCodeProtect, name);
}

QString NameOf(AllCodeProtect rule)
{
    return Spell(kAllCodeProtect, rule);
}

bool IsProtectionChoice(const QString &name)
{
    return name == kProtectNone || name == kProtectUpper34 || name == kProtectUpper12 ||
           name == kProtectAll;
}
