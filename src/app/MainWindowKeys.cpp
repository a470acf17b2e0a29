// The main window from the keyboard: keys for the file and chip buttons, keys that turn the
// pages, and a Tab order that follows the eye across the toolbar and down each page.
#include "ControlFactory.h"
#include "MainStatusBar.h"
#include "PortProblem.h"
#include "Tolm32U.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>

void TTolmMain::SetKeyboardAccess()
{
    GiveShortcut(LoadFromFileBtn, QKeySequence(Qt::CTRL | Qt::Key_O));
    GiveShortcut(SaveToFileBtn, QKeySequence(Qt::CTRL | Qt::Key_S));
    GiveShortcut(ChipReadBtn, QKeySequence(Qt::Key_F5));
    GiveShortcut(ChipWriteBtn, QKeySequence(Qt::Key_F6));
    GiveShortcut(VerifyBtn, QKeySequence(Qt::Key_F7));
    GiveShortcut(BlancCheckBtn, QKeySequence(Qt::Key_F8));

    // The page control knows these keys only while it has the focus; here they work from
    // anywhere in the window, the toolbar included.
    AddPageKey(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    AddPageKey(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
    AddPageKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1);
    AddPageKey(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);

    // Toolbar left to right, then the page tabs, then each page top to bottom and left to
    // right. Controls on hidden pages are passed over, so one chain serves all four.
    QList<QWidget *> chain{
        ConnectBtn,    OptionsBtn,   DataEditorBtn, ProgEditorBtn,   DeviceSelector,
        ExitBtn,       OptionPages,  ProgMemCbx,    DataMemCbx,      ConfigCbx,
        IDCodeCbx,     ParallelRBtn, SerialRBtn,    LoadFromFileBtn, SaveToFileBtn,
        ChipReadBtn,   ChipWriteBtn, VerifyBtn,     BlancCheckBtn,   ProtectBtn,
        UnProtectBtn,  IDCodeBtn,    OscBox,        ProtNoneBtn,     ProtUp12Btn,
        ProtUp34Btn,   ProtAllBtn,   ConfigEdit,    ConfigReadBtn,   ConfigWriteBtn,
        RefreshBtn,    CalEdit,      ReadCalBtn,    WriteCalBtn,     BuildCalBtn,
        WriteCalCbx,   WdtCbx,       PutCbx,        LvpCbx,          BOutCbx,
        MClrCbx,       DebugCbx,     CpdCbx,        WrtCbx,          MpeenCbx,
        ProgStartEdit, ProgEndEdit,  MaxProgBtn,    DataStartEdit,   DataEndEdit,
        MaxDataBtn};
    // Detect beside the device selector, "Erase before write" after the page's buttons, and
    // the status line's offer buttons last of all.
    chain.insert(chain.indexOf(ExitBtn), DetectBtn);
    chain.insert(chain.indexOf(IDCodeBtn) + 1, EraseBeforeWriteCbx);
    chain << StatusBar->ReloadBtn << StatusBar->DismissBtn;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void TTolmMain::AddPageKey(const QKeySequence &keys, int step)
{
    auto *shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, [this, step] {
        const int pages = OptionPages->count();
        OptionPages->setCurrentIndex((OptionPages->currentIndex() + step + pages) % pages);
    });
}

void TTolmMain::ShowPortState()
{
    StatusBar->ShowPortState(m_module.PortStatusText());
    const QString held = m_module.HeldPortName();
    const QString state = held.isEmpty()
                              ? QStringLiteral("No port held")
                              : QStringLiteral("Holds port %1").arg(PortDisplayName(held));
    ConnectBtn->setToolTip(QStringLiteral("Connect\n") + state);
    ConnectBtn->setAccessibleDescription(state);
}
