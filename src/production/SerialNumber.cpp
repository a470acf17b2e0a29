#include "production/SerialNumber.h"

#include <QRegularExpression>

std::optional<std::uint64_t> ParseSerialNumber(const QString &text)
{
    // Digits only: toULongLong alone would take a sign, and base 0 would read a leading zero
    // as octal.
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern(QStringLiteral("(0[xX])?([0-9A-Fa-f]+)")));
    const auto match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const bool hex = match.capturedLength(1) > 0;
    const QString digits = match.captured(2);
    bool ok = false;
    const qulonglong value = digits.toULongLong(&ok, hex ? 16 : 10);
    if (!ok || value > kMaxSerialNumber)
        return std::nullopt;
    return value;
}
