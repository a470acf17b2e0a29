#include "app/CommandLine.h"
#include "app/ProgramWindows.h"
#include "app/QtMessages.h"
#include "app/Tolm32U.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

int main(int argc, char *argv[])
{
    // --help and --version print and end before the GUI starts, so they work without a
    // display (over ssh, in a package check).
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QTextStream out(stdout);
    if (const std::optional<int> exitCode = AnswerInformationRequest(arguments, out))
        return *exitCode;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolm"));
    // Lets the desktop match the window to its desktop entry (its icon, its name); the entry
    // is named after the program's AppStream id.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tolm.Tolm"));

    QtMessages messages;
    ProgramWindows windows(messages);
    // The program ends with its main window, even while a memory window is still open.
    QObject::connect(windows.TolmMain.get(), &TTolmMain::MainWindowClosed, &app,
                     &QApplication::quit);
    windows.TolmMain->show();
    // Loaded once the window is on the screen, so that a box about the file opens over it.
    const QString file = FileArgument(QApplication::arguments());
    if (!file.isEmpty())
        QTimer::singleShot(0, windows.TolmMain.get(),
                           [&windows, file] { windows.TolmMain->LoadStartFile(file); });
    return app.exec();
}
