// progress_wait_cpu [SECONDS]: how much processor time the desktop program uses while its
// progress window waits for Start. It opens the Read window over the real windows and
// measures its own CPU time (user + system) for the given time (default 10 s), then prints
// the share of one core. Run it under Xvfb for the real window system:
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bench/progress_wait_cpu
#include "app/ModuleConnection.h"
#include "app/ProgramWindows.h"
#include "app/Tolm32U.h"
#include "ops/Messages.h"
#include "ops/ProcDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <sys/resource.h>

namespace {

// No boxes: the start-up port message must not wait for a click.
class SilentMessages : public Messages
{
public:
    void Plain(const QString &) override {}
    void PlainWithDetail(const QString &, const QString &) override {}
    void Information(const QString &) override {}
    void Warning(const QString &) override {}
    void Error(const QString &) override {}
    bool Confirm(const QString &) override { return false; }
    Answer AskAbortRetryIgnore(const QString &) override { return Answer::Abort; }
    Answer AskOkCancel(const QString &) override { return Answer::Cancel; }
    QString OpenFileName(const QString &, const QString &) override { return {}; }
    QString SaveFileName(const QString &, const QString &) override { return {}; }
};

// A line behind the module commands that is open but never answers: the window waits for
// Start without a port being opened, and nothing is sent while it waits.
class IdleLine : public ByteChannel
{
public:
    bool WriteByte(std::uint8_t) override { return true; }
    std::optional<std::uint8_t> ReadByte() override { return std::nullopt; }
};

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10;
    SilentMessages messages;
    ProgramWindows windows(messages);
    TTolmMain &main = *windows.TolmMain;
    IdleLine line;
    main.Module().UseChannel(&line);
    main.show();
    main.findChild<QCheckBox *>(QStringLiteral("IDCodeCbx"))->setChecked(true);

    double cpuAtStart = 0;
    QElapsedTimer wall;
    // Measured from a second after the window opened, when painting has settled.
    QTimer::singleShot(1000, &app, [&] {
        cpuAtStart = CpuSeconds();
        wall.start();
        QTimer::singleShot(seconds * 1000, &app, [&] {
            const double cpu = CpuSeconds() - cpuAtStart;
            const double share = 100.0 * cpu / (wall.elapsed() / 1000.0);
            QTextStream(stdout) << "waiting for Start: " << QString::number(cpu, 'f', 3)
                                << " s CPU in " << QString::number(wall.elapsed() / 1000.0, 'f', 1)
                                << " s, " << QString::number(share, 'f', 2) << " % of one core"
                                << Qt::endl;
            windows.ProcessForm->CloseBtn->click();
        });
    });
    // Returns when the window is closed.
    main.findChild<QToolButton *>(QStringLiteral("ChipReadBtn"))->click();
    main.Module().UseChannel(nullptr);
    return 0;
}
