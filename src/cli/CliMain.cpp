#include "cli/CliContext.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolm-cli"));
    // The project's version, the one the package carries (see CMakeLists.txt).
    QCoreApplication::setApplicationVersion(QStringLiteral(TOLM_VERSION));
    return RunCli(QCoreApplication::arguments());
}
