#include "cli/options/PortListOption.h"

#include "cli/CliContext.h"
#include "link/PortName.h"

#include <QFileInfo>

namespace {

// Where a port name leads, symlinks followed, so "ttyUSB0" and "/dev/ttyUSB0" (or a link to
// it) count as one port.
QString PortIdentity(const QString &port)
{
    const QString location = ModulePortSystemLocation(port);
    const QString canonical = QFileInfo(location).canonicalFilePath();
    return canonical.isEmpty() ? location : canonical;
}

} // namespace

std::optional<QStringList> ParsePortList(const QString &text, QString &error)
{
    QStringList ports;
    QStringList identities;
    for (const QString &item : text.split(QLatin1Char(','))) {
        const QString port = item.trimmed();
        if (port.isEmpty()) {
            error = QStringLiteral("--port '%1' has an empty item").arg(text);
            return std::nullopt;
        }
        const QString identity = PortIdentity(port);
        const qsizetype earlier = identities.indexOf(identity);
        if (earlier >= 0) {
            error = QStringLiteral("--port names one port twice: '%1' and '%2'")
                        .arg(ports[earlier], port);
            return std::nullopt;
        }
        ports << port;
        identities << identity;
    }
    if (ports.size() > kMaxPorts) {
        error = QStringLiteral("--port names %1 ports; at most %2 run at once")
                    .arg(ports.size())
                    .arg(kMaxPorts);
        return std::nullopt;
    }
    return ports;
}

std::optional<QStringList> CliPortList(CliContext &ctx)
{
    QString error;
    auto ports = ParsePortList(ctx.PortName(), error);
    if (!ports)
        ctx.UsageError(error);
    return ports;
}

QString PortFileSuffix(const QString &port)
{
    QString name = port;
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    while (name.startsWith(QLatin1Char('/')))
        name.remove(0, 1);
    for (QChar &c : name) {
        const bool kept = (c.unicode() < 128 && c.isLetterOrNumber()) || c == QLatin1Char('.') ||
                          c == QLatin1Char('_') || c == QLatin1Char('-');
        if (!kept)
            c = QLatin1Char('_');
    }
    return name;
}

QString PerPortPath(const QString &path, const QString &port)
{
    const QString suffix = QLatin1Char('-') + PortFileSuffix(port);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    // A dot that starts the file name (".hex") or sits in a folder name is no extension.
    if (dot <= slash + 1)
        return path + suffix;
    return path.left(dot) + suffix + path.mid(dot);
}
