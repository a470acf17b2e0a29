#pragma once

#include "PartDefinition.h"

#include <QString>
#include <QStringView>
#include <optional>

// The names part files use for the catalogue's kinds, both ways: the reader turns them into
// values, and a definition is written back with the same words.
std::optional<FieldControl> ControlNamed(QStringView name);
QString NameOf(FieldControl control);

std::optional<CalibrationKind> CalibrationKindNamed(QStringView name);
QString NameOf(CalibrationKind kind);

std::optional<ProtectionStyle> ProtectionStyleNamed(QStringView name);
QString NameOf(ProtectionStyle style);

std::optional<AllCodeProtect> AllCodeProtectNamed(QStringView name);
QString NameOf(AllCodeProtect rule);

// The protection choices, as part files name them.
inline const QString kProtectNone = QStringLiteral("none");
inline const QString kProtectUpper34 = QStringLiteral("upper34");
inline const QString kProtectUpper12 = QStringLiteral("upper12");
inline const QString kProtectAll = QStringLiteral("all");
bool IsProtectionChoice(const QString &name);

// The two values of a check box.
inline const QString kValueOn = QStringLiteral("on");
inline const QString kValueOff = QStringLiteral("off");
