// The main window from the keyboard: keys that turn the pages, and a Tab order that follows
// the eye across the toolbar and down each page.
#include "ConfigurationPart.h"
#include "ControlFactory.h"
#include "Tolm32U.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>

namespace {

// Toolbar left to right, then the page tabs, then each page top to bottom and left to right,
// then the status line's offer buttons. Controls on hidden pages are passed over, so one
// chain serves all four.
const char *const kTabOrder[] = {
    "ConnectBtn",     "OptionsBtn",   "DataEditorBtn",   "ProgEditorBtn",
    "DeviceSelector", "DetectBtn",    "ExitBtn",         "OptionPages",
    "ProgMemCbx",     "DataMemCbx",   "ConfigCbx",       "IDCodeCbx",
    "ParallelRBtn",   "SerialRBtn",   "LoadFromFileBtn", "SaveToFileBtn",
    "ChipReadBtn",    "ChipWriteBtn", "VerifyBtn",       "BlancCheckBtn",
    "ProtectBtn",     "UnProtectBtn", "IDCodeBtn",       "EraseBeforeWriteCbx",
    "OscBox",         "ProtNoneBtn",  "ProtUp12Btn",     "ProtUp34Btn",
    "ProtAllBtn",     "ConfigEdit",   "ConfigReadBtn",   "ConfigWriteBtn",
    "RefreshBtn",     "CalEdit",      "ReadCalBtn",      "WriteCalBtn",
    "BuildCalBtn",    "WriteCalCbx",  "WdtCbx",          "PutCbx",
    "LvpCbx",         "BOutCbx",      "MClrCbx",         "DebugCbx",
    "CpdCbx",         "WrtCbx",       "MpeenCbx",        "ProgStartEdit",
    "ProgEndEdit",    "MaxProgBtn",   "DataStartEdit",   "DataEndEdit",
    "MaxDataBtn",     "ReloadBtn",    "DismissBtn",
};

} // namespace

void TTolmMain::SetKeyboardAccess()
{
    const std::pair<const char *, QKeySequence> buttonKeys[] = {
        {"LoadFromFileBtn", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"SaveToFileBtn", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"ChipReadBtn", QKeySequence(Qt::Key_F5)},
        {"ChipWriteBtn", QKeySequence(Qt::Key_F6)},
        {"VerifyBtn", QKeySequence(Qt::Key_F7)},
        {"BlancCheckBtn", QKeySequence(Qt::Key_F8)},
    };
    for (const auto &[name, keys] : buttonKeys)
        GiveShortcut(*this, findChild<QToolButton *>(QString::fromLatin1(name)), keys);
    // The recent files hang on the Load button's arrow; this key opens them from anywhere.
    auto *load = findChild<QToolButton *>(QStringLiteral("LoadFromFileBtn"));
    const QKeySequence recentKeys(Qt::CTRL | Qt::SHIFT | Qt::Key_O);
    connect(new QShortcut(recentKeys, this), &QShortcut::activated, load, [load] {
        if (load->isEnabled())
            load->showMenu();
    });
    load->setToolTip(QStringLiteral("%1, recent files (%2)")
                         .arg(load->toolTip(), recentKeys.toString(QKeySequence::NativeText)));

    // The page control knows these keys only while it has the focus; here they work from
    // anywhere in the window, the toolbar included.
    AddPageKey(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    AddPageKey(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
    AddPageKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1);
    AddPageKey(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);

    QWidget *previous = nullptr;
    for (const char *name : kTabOrder) {
        QWidget *next = findChild<QWidget *>(QString::fromLatin1(name));
        if (previous && next)
            setTabOrder(previous, next);
        previous = next ? next : previous;
    }
}

void TTolmMain::AddPageKey(const QKeySequence &keys, int step)
{
    auto *shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, [this, step] {
        const int pages = OptionPages->count();
        OptionPages->setCurrentIndex((OptionPages->currentIndex() + step + pages) % pages);
    });
}

void TTolmMain::OrderPartFieldKeys()
{
    // A part's own fields come after the direct access and calibration, before the System
    // page, in the order they stand on the page.
    QWidget *previous = findChild<QWidget *>(QStringLiteral("WriteCalCbx"));
    const QWidget *fields = m_config->OwnFieldsGroup();
    for (QWidget *control :
         fields->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (control->focusPolicy() & Qt::TabFocus) {
            setTabOrder(previous, control);
            previous = control;
        }
    }
    setTabOrder(previous, findChild<QWidget *>(QStringLiteral("WdtCbx")));
}
