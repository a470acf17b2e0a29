#pragma once

// The program's windows with the in-process module simulator behind the main window's
// module, the scripted Messages, and a ready chime that writes "Sound" into the same record
// as the boxes, so that a test sees sounds and boxes in their order.
#include "../mainwindow/MainWindowFixture.h"
#include "ModuleSimulator.h"
#include "SimulatorChannel.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRules.h"
#include "hexfile/HexTargets.h"
#include "ops/OperationDriver.h"
#include "ops/ProcDlg.h"
#include "ops/ReadySound.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace OperationsFixture {

class RecordingSound : public ReadySound
{
public:
    explicit RecordingSound(QStringList &record) : m_record(record) {}
    void Play() override { m_record << QStringLiteral("Sound"); }
    void PlayFailure() override { m_record << QStringLiteral("FailureSound"); }

private:
    QStringList &m_record;
};

struct SimulatedProgram : MainWindowFixture::Program
{
    explicit SimulatedProgram(const QString &device)
        : sim(tolm::sim::ModuleSimulator::ForDevice(device.toStdString())), channel(*sim),
          sound(messages.shown)
    {
        Main().SetDeviceValues(device, false);
        Image().FillProgramImage(BlankWordText(Main().CurrentDevice()));
        Main().Module().UseChannel(&channel);
        Main().SetReadySound(sound);
    }
    ~SimulatedProgram() { Main().Module().UseChannel(nullptr); }

    TProcessForm &Form() { return *windows->ProcessForm; }
    OperationDriver &Driver() { return *Main().Driver(); }
    tolm::sim::SimChip &Chip() { return sim->chip(); }

    template <typename T> T *Control(const char *name)
    {
        return MainWindowFixture::Find<T>(Main(), QString::fromLatin1(name));
    }

    // Ticks exactly the named targets: Tick({.Program = true, .Config = true}).
    void Tick(const HexTargets &targets)
    {
        Control<QCheckBox>("ProgMemCbx")->setChecked(targets.Program);
        Control<QCheckBox>("DataMemCbx")->setChecked(targets.Data);
        Control<QCheckBox>("IDCodeCbx")->setChecked(targets.IDCode);
        Control<QCheckBox>("ConfigCbx")->setChecked(targets.Config);
    }

    // Clicks the named button of the main window, answering its confirmation with OK.
    void ClickConfirmed(const QString &button)
    {
        messages.confirmAnswers.enqueue(true);
        Main().findChild<QToolButton *>(button)->click();
    }

    // Clicks the operation button, presses Start once the window waits, and Close once the
    // sequence has ended (or whatever afterRun does instead); returns when the button's
    // handler has returned.
    void RunOnce(QToolButton *button, const std::function<void()> &afterRun = {})
    {
        QTimer::singleShot(0, &Form(), [this] { Form().StartBtn->click(); });
        const auto finished = QObject::connect(&Driver(), &OperationDriver::SequenceFinished,
                                               &Form(), [this, afterRun] {
                                                   if (afterRun)
                                                       afterRun();
                                                   else
                                                       Form().CloseBtn->click();
                                               });
        button->click();
        QObject::disconnect(finished);
    }

    // Calls action once, when the progress bar reaches the value (after that many words of
    // the running memory target).
    void AtProgress(int value, const std::function<void()> &action)
    {
        auto done = std::make_shared<bool>(false);
        QObject::connect(Form().ProgressBar, &QProgressBar::valueChanged, &Form(),
                         [done, value, action](int now) {
                             if (!*done && now == value) {
                                 *done = true;
                                 action();
                             }
                         });
    }

    std::unique_ptr<tolm::sim::ModuleSimulator> sim;
    SimulatorChannel channel;
    RecordingSound sound;
};

} // namespace OperationsFixture
