// tolm-screenshots DIR: renders every window of the program into PNG files in DIR, so the
// look of the windows can be checked without a desktop (QT_QPA_PLATFORM=offscreen).
#include "DesktopShots.h"
#include "app/AboutBox.h"
#include "app/Iddlg.h"
#include "app/Optdlg.h"
#include "app/PortConU.h"
#include "app/PortProblem.h"
#include "app/ProgramWindows.h"
#include "app/QtMessages.h"
#include "app/Tolm32U.h"
#include "app/WaitForm.h"
#include "editors/DatEditF.h"
#include "editors/ProgView.h"
#include "link/SerialLink.h"
#include "ops/ProcDlg.h"
#include "texts/FailureTexts.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>
#include <functional>

namespace {

bool Save(QWidget *window, const QDir &dir, const QString &name)
{
    window->show();
    QApplication::processEvents();
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    const bool ok = window->grab().save(path);
    QTextStream(stdout) << (ok ? "wrote " : "FAILED ") << path << Qt::endl;
    return ok;
}

bool SaveMainPages(TTolmMain &main, const QDir &dir, const QString &prefix)
{
    static const char *const pages[] = {"programming", "configuration", "system", "addresses"};
    bool ok = true;
    auto *pagesControl = main.findChild<QTabWidget *>(QStringLiteral("OptionPages"));
    for (int i = 0; i < pagesControl->count(); ++i) {
        pagesControl->setCurrentIndex(i);
        ok = Save(&main, dir, prefix + QString::fromLatin1(pages[i])) && ok;
    }
    pagesControl->setCurrentIndex(0);
    return ok;
}

// Shows one of the program's message boxes and saves it once it is on screen.
bool SaveMessageBox(const QDir &dir, const QString &name, const std::function<void()> &show)
{
    bool ok = false;
    QTimer::singleShot(0, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            ok = Save(box, dir, name);
            box->close();
        }
    });
    show();
    return ok;
}

// Where the named controls of the Programming page sit in the main window (their centres,
// from the window's top left corner), for scripts that click them (scripts/demo).
bool SaveControlMap(TTolmMain &main, const QDir &dir)
{
    QFile file(dir.filePath(QStringLiteral("controls.txt")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&file);
    for (const QWidget *control : main.findChildren<QWidget *>()) {
        if (control->objectName().isEmpty() || !control->isVisible())
            continue;
        const QPoint centre = control->mapTo(&main, control->rect().center());
        out << control->objectName() << ' ' << centre.x() << ' ' << centre.y() << '\n';
    }
    return true;
}

// The boxes of the chip work, one of each kind.
bool SaveChipBoxes(QtMessages &messages, const QDir &dir)
{
    const std::pair<const char *, std::function<void()>> boxes[] = {
        {"box-confirm-direct-read",
         [&] {
             messages.ConfirmChipCommand(
                 QStringLiteral("Read Configuration Word Directly ! Proceed?"));
         }},
        {"box-confirm-protect",
         [&] {
             messages.ConfirmChipCommand(
                 QStringLiteral("This Process will Code Protect All the Device! Proceed?"));
         }},
        {"box-error-reading-configuration",
         [&] { messages.Plain(QStringLiteral("Error Reading Configuration")); }},
        {"box-conversion-error",
         [&] { messages.Error(QStringLiteral("'$3F__' is not a valid integer value")); }},
        {"box-verify-completed",
         [&] { messages.Plain(QStringLiteral("Program Memory Verify Completed.  No Errors...")); }},
        {"box-verify-failed",
         [&] {
             // The detail is built the way the operation driver builds it.
             TargetReport report;
             report.target = ChipTarget::ProgramMemory;
             report.detail.outcome = EngineOutcome::VerifyDifference;
             report.detail.address = 0x0003;
             report.detail.expectedText = QStringLiteral("2222");
             report.detail.readText = QStringLiteral("1003");
             messages.PlainWithDetail(QStringLiteral("Error Verifying Program Memory"),
                                      TargetFailureReason(report));
         }},
        {"box-write-error",
         [&] {
             messages.AskAbortRetryIgnore(
                 QStringLiteral("Error Writing Program Memory Address $01FF"));
         }},
        {"box-no-answer",
         [&] {
             // The one box of a module that stopped answering, as the operations show it.
             messages.PlainWithDetail(
                 QStringLiteral("No answer from the module on ttyUSB0. Is it plugged in and "
                                "powered? The port can be changed in Options."),
                 QStringLiteral("The module stopped answering during the power-on: no answer "
                                "from the module to command 07 (Power Off)"));
         }},
        {"box-write-error-12bit",
         [&] {
             messages.AskOkCancel(QStringLiteral("Error Writing Program Memory Address $0010"));
         }},
    };
    bool ok = true;
    for (const auto &[name, show] : boxes)
        ok = SaveMessageBox(dir, QString::fromLatin1(name), show) && ok;
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: tolm-screenshots DIR" << Qt::endl;
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists() && !QDir().mkpath(dir.path()))
        return 1;

    QtMessages messages;
    // The tool runs with an empty configuration folder: a first start, which opens no port
    // and asks for one on the status line.
    ProgramWindows windows(messages);
    TTolmMain &main = *windows.TolmMain;

    bool ok = Save(&main, dir, QStringLiteral("main-window"));
    ok = Save(&main, dir, QStringLiteral("first-start")) && ok;
    ok = SaveControlMap(main, dir) && ok;
    ok = SaveMainPages(main, dir, QStringLiteral("main-16c84-")) && ok;
    // Devices that show the groups the default device hides.
    main.SetDeviceValues(QStringLiteral("12c508"), false);
    ok = SaveMainPages(main, dir, QStringLiteral("main-12c508-")) && ok;
    main.SetDeviceValues(QStringLiteral("16f877"), false);
    ok = SaveMainPages(main, dir, QStringLiteral("main-16f877-")) && ok;
    // Newer parts: a calibration part with band-gap bits, fields of their own, a second word.
    for (const char *part : {"12f675", "16f877a", "16f887"}) {
        main.SetDeviceValues(QString::fromLatin1(part), false);
        QApplication::processEvents();
        ok = SaveMainPages(main, dir, QStringLiteral("main-%1-").arg(QLatin1String(part))) && ok;
    }
    main.SetDeviceValues(QStringLiteral("16f877"), false);
    QApplication::processEvents();

    TOptionsDlg &options = *windows.OptionsDlg;
    options.DeviceSelectOpt->setCurrentText(main.CurrentDevice().DeviceName);
    options.WorkingDirEdit->setText(QDir::homePath());
    options.SetPortText(main.ModulePortName());
    ok = Save(&options, dir, QStringLiteral("options-dialog")) && ok;
    options.hide();

    ok = SaveTypedPortShot(options, dir, Save) && ok;

    TAboutBox &about = *windows.AboutBox;
    about.SetProductName(QStringLiteral("Tolm"));
    about.SetVersionName(QStringLiteral("Version ") + TTolmMain::VersionText);
    ok = Save(&about, dir, QStringLiteral("about-box")) && ok;
    about.hide();

    ok = SaveProgressShots(*windows.ProcessForm, dir, Save) && ok;
    ok = Save(windows.IDCodeDlg.get(), dir, QStringLiteral("id-code-dialog")) && ok;
    windows.IDCodeDlg->hide();
    ok = Save(windows.WaitingForm.get(), dir, QStringLiteral("please-wait")) && ok;
    windows.WaitingForm->hide();
    ok = SaveChipBoxes(messages, dir) && ok;

    ok = Save(windows.DataEditForm.get(), dir, QStringLiteral("data-editor")) && ok;
    ok = Save(windows.ProgViewForm.get(), dir, QStringLiteral("program-viewer")) && ok;

    ok = SaveMessageBox(dir, QStringLiteral("box-close-question"),
                        [&] { messages.Confirm(QStringLiteral("Close program?...")); }) &&
         ok;
    ok = SaveMessageBox(dir, QStringLiteral("box-no-target"),
                        [&] { messages.Warning(QStringLiteral("No target selected")); }) &&
         ok;
    ok = SaveMessageBox(dir, QStringLiteral("box-address-error"),
                        [&] { messages.Plain(QStringLiteral("Min or Max Address Error!")); }) &&
         ok;
    // A port that is not there: the box carries the reason and the remedy as its detail.
    SerialLink missing;
    const QString missingPort = QStringLiteral("ttyUSB7");
    missing.OpenModulePort(missingPort);
    ok = SaveMessageBox(dir, QStringLiteral("box-port-error-detail"),
                        [&] {
                            messages.PlainWithDetail(QStringLiteral("COM Port Error"),
                                                     OpenFailureDetail(missingPort, missing));
                        }) &&
         ok;

    ok = SaveFileShots(main, dir, Save) && ok;
    ok = SaveLogShot(main, windows.Log, dir, Save) && ok;

    TPortDlg &port = *windows.PortDlg;
    port.SetPortName(main.ModulePortName());
    ok = Save(&port, dir, QStringLiteral("port-dialog")) && ok;
    port.hide();
    return ok ? 0 : 1;
}
