#include "CliContext.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolm-cli"));
    return RunCli(QCoreApplication::arguments());
}
