#include "link/PortName.h"

#include <QDir>
#include <QRegularExpression>

QString ModulePortSystemLocation(const QString &name)
{
    if (name.contains(QLatin1Char('/'))) {
        // Absolute, so that the serial port class does not read it as a name under /dev.
        return QDir::current().absoluteFilePath(name);
    }
    static const QRegularExpression comPort(QStringLiteral("^COM([1-9][0-9]{0,8})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comPort.match(name);
    if (match.hasMatch()) {
        return QStringLiteral("/dev/ttyS%1").arg(match.captured(1).toLongLong() - 1);
    }
    return QStringLiteral("/dev/") + name;
}
