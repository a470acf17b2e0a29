#include "InstallPaths.h"

#include <QCoreApplication>
#include <QDir>

QString InstalledDataFolder()
{
    // TOLM_INSTALL_BINDIR and TOLM_INSTALL_DATADIR come from the install rules, relative to
    // the prefix ("bin", "share/tolm"); "bin" gives ".." from the program to the prefix.
    const QString binToPrefix =
        QDir(QStringLiteral("/" TOLM_INSTALL_BINDIR)).relativeFilePath(QStringLiteral("/"));
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') + binToPrefix +
                           QStringLiteral("/" TOLM_INSTALL_DATADIR));
}
