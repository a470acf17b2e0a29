#include "DesktopShots.h"

#include "app/OperationLog.h"
#include "app/Optdlg.h"
#include "app/RecentFiles.h"
#include "app/Tolm32U.h"
#include "engine/TargetSequence.h"
#include "ops/ProcDlg.h"
#include "ops/SequenceSummary.h"
#include "ops/TargetVerdict.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTextStream>
#include <QToolButton>

namespace {

// A small program for the 16c84, as an assembler writes it: a few words, the configuration
// word and data bytes.
const char *const kBlinkHex = ":100000008316860183125530860086090528000074\n"
                              ":0400100000000528BF\n"
                              ":0842000011002200330044000C\n"
                              ":02400E00F13F80\n"
                              ":0840000005000A0000000F009A\n"
                              ":00000001FF\n";

TargetReport Done(ChipTarget target, int words)
{
    TargetReport report;
    report.target = target;
    report.succeeded = true;
    report.detail.wordsDone = words;
    return report;
}

bool WriteFile(const QString &path, const char *text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) > 0;
}

// The main window with a popup over it, as the screen shows them together.
QPixmap WithPopup(QWidget &window, QWidget &popup)
{
    const QPixmap base = window.grab();
    const QPixmap menu = popup.grab();
    // Sizes in the windows' own units; the picture keeps the screen's pixel ratio (2 at 2x).
    const qreal ratio = base.devicePixelRatio();
    const QPoint offset = popup.pos() - window.mapToGlobal(QPoint(0, 0));
    const QSizeF baseSize = base.deviceIndependentSize();
    const QSizeF menuSize = menu.deviceIndependentSize();
    const QSizeF size(qMax(baseSize.width(), offset.x() + menuSize.width()),
                      qMax(baseSize.height(), offset.y() + menuSize.height()));
    QPixmap both((size * ratio).toSize());
    both.setDevicePixelRatio(ratio);
    both.fill(Qt::darkGray);
    QPainter painter(&both);
    painter.drawPixmap(QPointF(0, 0), base);
    painter.drawPixmap(QPointF(offset), menu);
    return both;
}

} // namespace

bool SaveProgressShots(TProcessForm &form, const QDir &dir, const ShotSaver &save)
{
    form.setWindowTitle(QStringLiteral("Write to PIC"));
    form.BeReady();
    bool ok = save(&form, dir, QStringLiteral("progress-ready"));

    // 384 of the 16c84's 1024 words written, twelve seconds in.
    form.StartBtnClick();
    form.SetStatus(QStringLiteral("Writing Program Memory ..."));
    form.SetProgressStart(0, false);
    form.SetProgressMax(0x3FF);
    for (int i = 0; i < 0x180; ++i)
        form.StepProgress();
    form.RefreshProgressInfo(12000);
    ok = save(&form, dir, QStringLiteral("progress-running")) && ok;
    form.StopBtnClick();
    form.StartBtn->setText(QStringLiteral("Continue"));
    ok = save(&form, dir, QStringLiteral("progress-paused")) && ok;

    SequenceSummary summary;
    summary.Begin(ChipOperation::Write);
    summary.Add(Done(ChipTarget::ProgramMemory, 1024));
    summary.Add(Done(ChipTarget::DataMemory, 64));
    summary.Add(Done(ChipTarget::IdCode, 0));
    summary.Add(Done(ChipTarget::ConfigWord, 0));
    form.BeReady();
    form.ShowSummary(summary.Text(34000));
    ok = save(&form, dir, QStringLiteral("progress-finished")) && ok;

    // A word that would not program, skipped with Ignore: the run has failed.
    TargetReport skipped = Done(ChipTarget::ProgramMemory, 32);
    skipped.detail.wordsSkipped.push_back({0x0010, 0x2222, 0x3FFF});
    summary.Begin(ChipOperation::Write);
    summary.Add(skipped, TargetResultReason(skipped));
    form.BeReady();
    form.ShowSummary(summary.Text(18000), true);
    ok = save(&form, dir, QStringLiteral("progress-failed")) && ok;
    form.hide();
    return ok;
}

bool SaveLogShot(TTolmMain &main, OperationLog &log, const QDir &dir, const ShotSaver &save)
{
    log.Append(QStringLiteral("Write failed in 18 s: program memory (1 word not written: "
                              "0010, expected 2222, read 3FFF)"));
    log.Append(QStringLiteral("Error Writing Program Memory Address $0010 (Ignore)"),
               QStringLiteral("The word should hold 2222 and reads 3FFF."));
    log.Append(QStringLiteral("No answer from the module on ttyUSB0. Is it plugged in and "
                              "powered? The port can be changed in Options."),
               QStringLiteral("the module stopped answering during the power-on: no answer "
                              "from the module to command 07 (Power Off)"));
    auto *logButton = main.findChild<QPushButton *>(QStringLiteral("LogBtn"));
    logButton->setChecked(true);
    const bool ok = save(&main, dir, QStringLiteral("operation-log"));
    logButton->setChecked(false);
    return ok;
}

bool SaveFileShots(TTolmMain &main, const QDir &dir, const ShotSaver &save)
{
    main.SetDeviceValues(QStringLiteral("16c84"), false);
    const QString blink = dir.filePath(QStringLiteral("blink.hex"));
    if (!WriteFile(blink, kBlinkHex))
        return false;
    // As `tolm blink.hex` starts.
    main.LoadStartFile(blink);
    bool ok = save(&main, dir, QStringLiteral("main-file-loaded"));

    for (const char *name : {"counter.hex", "uart-test.hex", "blink.hex"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        ok = WriteFile(path, kBlinkHex) && ok;
        main.Recent().Add(path);
    }
    main.show();
    auto *menu = main.findChild<QMenu *>(QStringLiteral("RecentFilesMenu"));
    auto *load = main.findChild<QWidget *>(QStringLiteral("LoadFromFileBtn"));
    menu->popup(load->mapToGlobal(load->rect().bottomLeft()));
    QApplication::processEvents();
    const QString path = dir.filePath(QStringLiteral("recent-files.png"));
    const bool saved = WithPopup(main, *menu).save(path);
    QTextStream(stdout) << (saved ? "wrote " : "FAILED ") << path << Qt::endl;
    menu->hide();
    for (const char *name : {"blink.hex", "counter.hex", "uart-test.hex"})
        QFile::remove(dir.filePath(QString::fromLatin1(name)));
    return ok && saved;
}

bool SaveTypedPortShot(TOptionsDlg &options, const QDir &dir, const ShotSaver &save)
{
    options.SetPortText(QStringLiteral("COM1"));
    options.PortEdit->setText(QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R-if00-port0"));
    options.PortEdit->setCursorPosition(0);
    options.OtherPortBtn->setChecked(true);
    const bool ok = save(&options, dir, QStringLiteral("options-typed-port"));
    options.hide();
    return ok;
}
