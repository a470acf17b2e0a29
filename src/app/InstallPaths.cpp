#include "InstallPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString PrefixFolder()
{
    // TOLM_INSTALL_BINDIR comes from the install rules, relative to the prefix ("bin"), which
    // gives ".." from the program to the prefix.
    const QString binToPrefix =
        QDir(QStringLiteral("/" TOLM_INSTALL_BINDIR)).relativeFilePath(QStringLiteral("/"));
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') + binToPrefix);
}

} // namespace

QString UserGuidePath()
{
    const QString installed = PrefixFolder() + QStringLiteral("/" TOLM_INSTALL_DOCDIR "/guide.md");
    const QString source = QStringLiteral(TOLM_SOURCE_DIR "/docs/guide.md");
    if (!QFileInfo::exists(installed) && QFileInfo::exists(source))
        return source;
    return installed;
}

QString InstalledDataFolder()
{
    return PrefixFolder() + QStringLiteral("/" TOLM_INSTALL_DATADIR);
}
