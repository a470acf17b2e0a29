#include "app/ProgramWindows.h"
#include "app/QtMessages.h"
#include "app/Tolm32U.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolm"));

    QtMessages messages;
    ProgramWindows windows(messages);
    // The program ends with its main window, even while a memory window is still open.
    QObject::connect(windows.TolmMain.get(), &TTolmMain::MainWindowClosed, &app,
                     &QApplication::quit);
    windows.TolmMain->show();
    return app.exec();
}
