// Construction of the main window's controls: a compact fixed window with a toolbar
// panel and four pages, every control named as the rest of the program refers to it.
#include "ControlFactory.h"
#include "HexEditFilter.h"
#include "MainStatusBar.h"
#include "Tolm32U.h"
#include "device/catalogue/CatalogueInUse.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

void TTolmMain::BuildWindow()
{
    setWindowTitle(QStringLiteral("Tolm ") + VersionText);
    setWindowIcon(ProgramIcon());
    // A fixed single-border window: system menu and minimise, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(BuildToolbar());

    OptionPages = Named(new QTabWidget, "OptionPages");
    // All four page tabs stay in view; the window grows to fit them rather than scroll.
    OptionPages->setUsesScrollButtons(false);
    OptionPages->setElideMode(Qt::ElideNone);
    OptionPages->addTab(BuildProgrammingPage(), QStringLiteral("Programming"));
    OptionPages->addTab(BuildConfigurationPage(), QStringLiteral("Configuration"));
    OptionPages->addTab(BuildSystemPage(), QStringLiteral("System"));
    OptionPages->addTab(BuildAddressesPage(), QStringLiteral("Addresses"));
    OptionPages->setCurrentIndex(0);
    layout->addWidget(OptionPages);
    setCentralWidget(central);
    StatusBar = new MainStatusBar;
    setStatusBar(StatusBar);
    setAcceptDrops(true);

    DelayTimer = Named(new QTimer(this), "DelayTimer");
    DelayTimer->setSingleShot(true);

    // Sized once with every group shown, so hiding the data or calibration group for a
    // device later never shrinks or jumps the window.
    setFixedSize(sizeHint());
}

QWidget *TTolmMain::BuildToolbar()
{
    MainPnl = Named(new QFrame, "MainPnl");
    MainPnl->setFrameShape(QFrame::StyledPanel);
    MainPnl->setFrameShadow(QFrame::Raised);

    ConnectBtn = GlyphButton("ConnectBtn", QStringLiteral("Connect"), QStringLiteral("connect"));
    OptionsBtn = GlyphButton("OptionsBtn", QStringLiteral("Options"), QStringLiteral("options"));
    DataEditorBtn = GlyphButton("DataEditorBtn", QStringLiteral("Edit Data Memory"),
                                QStringLiteral("data-editor"));
    ProgEditorBtn = GlyphButton("ProgEditorBtn", QStringLiteral("View Program Memory"),
                                QStringLiteral("program-viewer"));
    DeviceSelector = Named(new QComboBox, "DeviceSelector");
    DeviceSelector->addItems(SelectorDeviceNames());
    DeviceSelector->setMaxVisibleItems(SelectorDeviceNames().size());
    DeviceSelector->setToolTip(QStringLiteral("Device"));
    DeviceSelector->setAccessibleName(QStringLiteral("Device"));
    DeviceSelector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ExitBtn =
        GlyphButton("ExitBtn", QStringLiteral("About Dar Irerirezov"), QStringLiteral("about"));
    DetectBtn = GlyphButton("DetectBtn", QStringLiteral("Detect the device in the socket"),
                            QStringLiteral("detect"));

    auto *row = new QHBoxLayout(MainPnl);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(2);
    for (QWidget *w :
         {static_cast<QWidget *>(ConnectBtn), static_cast<QWidget *>(OptionsBtn),
          static_cast<QWidget *>(DataEditorBtn), static_cast<QWidget *>(ProgEditorBtn)})
        row->addWidget(w);
    row->addSpacing(6);
    row->addWidget(DeviceSelector);
    row->addWidget(DetectBtn);
    row->addStretch();
    row->addWidget(ExitBtn);
    return MainPnl;
}

QWidget *TTolmMain::BuildProgrammingPage()
{
    Programming = Named(new QWidget, "Programming");

    TargetsBox = Group("TargetsBox", QStringLiteral("Targets"));
    ProgMemCbx = CheckBox("ProgMemCbx", QStringLiteral("Program Memory"));
    DataMemCbx = CheckBox("DataMemCbx", QStringLiteral("Data Memory"));
    ConfigCbx = CheckBox("ConfigCbx", QStringLiteral("Configuration Word"));
    IDCodeCbx = CheckBox("IDCodeCbx", QStringLiteral("ID Code"));
    auto *targets = new QVBoxLayout(TargetsBox);
    for (QWidget *w : {ProgMemCbx, DataMemCbx, ConfigCbx, IDCodeCbx})
        targets->addWidget(w);

    MethodBox = Group("MethodBox", QStringLiteral("Method"));
    ParallelRBtn = RadioButton("ParallelRBtn", QStringLiteral("Parallel"));
    SerialRBtn = RadioButton("SerialRBtn", QStringLiteral("Serial"));
    auto *method = new QVBoxLayout(MethodBox);
    method->addWidget(ParallelRBtn);
    method->addWidget(SerialRBtn);
    method->addStretch();

    LoadFromFileBtn = GlyphButton("LoadFromFileBtn", QStringLiteral("Load From File"),
                                  QStringLiteral("load-file"));
    SaveToFileBtn =
        GlyphButton("SaveToFileBtn", QStringLiteral("Save To File"), QStringLiteral("save-file"));
    ChipReadBtn =
        GlyphButton("ChipReadBtn", QStringLiteral("Read From PIC"), QStringLiteral("chip-read"));
    ChipWriteBtn =
        GlyphButton("ChipWriteBtn", QStringLiteral("Write To PIC"), QStringLiteral("chip-write"));
    VerifyBtn =
        GlyphButton("VerifyBtn", QStringLiteral("Verify PIC to Buffer"), QStringLiteral("verify"));
    BlancCheckBtn =
        GlyphButton("BlancCheckBtn", QStringLiteral("Blanc Check"), QStringLiteral("blank-check"));
    ProtectBtn =
        GlyphButton("ProtectBtn", QStringLiteral("All Code Protect"), QStringLiteral("protect"));
    UnProtectBtn =
        GlyphButton("UnProtectBtn", QStringLiteral("Unprotect 16x8x"), QStringLiteral("unprotect"));
    IDCodeBtn = GlyphButton("IDCodeBtn", QStringLiteral("ID Code"), QStringLiteral("id-code"));
    // The recent files hang on the Load button's arrow; the button itself still opens the
    // chooser.
    RecentFilesMenu = Named(new QMenu(LoadFromFileBtn), "RecentFilesMenu");
    RecentFilesMenu->setToolTipsVisible(true);
    LoadFromFileBtn->setMenu(RecentFilesMenu);
    LoadFromFileBtn->setPopupMode(QToolButton::MenuButtonPopup);
    LoadFromFileBtn->setFixedWidth(LoadFromFileBtn->sizeHint().width());

    EraseBeforeWriteCbx = CheckBox("EraseBeforeWriteCbx", QStringLiteral("&Erase before write"));
    EraseBeforeWriteCbx->setToolTip(
        QStringLiteral("Flash parts: Write erases the chip, writes only the words that are not "
                       "blank, then verifies"));
    ChecksumLbl = Named(new QLabel, "ChecksumLbl");
    ChecksumLbl->setToolTip(
        QStringLiteral("Sum of every program word and the configuration word as Write "
                       "programs it"));
    ChecksumLbl->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *groups = new QHBoxLayout;
    groups->addWidget(TargetsBox, 1);
    groups->addWidget(MethodBox);
    auto *page = new QVBoxLayout(Programming);
    page->setContentsMargins(4, 4, 4, 4);
    page->addLayout(groups);
    page->addLayout(Row({LoadFromFileBtn, SaveToFileBtn, ChipReadBtn, ChipWriteBtn, VerifyBtn,
                         BlancCheckBtn, ProtectBtn, UnProtectBtn, IDCodeBtn}));
    auto *extras = new QHBoxLayout;
    extras->addWidget(EraseBeforeWriteCbx);
    extras->addStretch();
    extras->addWidget(ChecksumLbl);
    page->addLayout(extras);
    page->addStretch();
    return Programming;
}

QWidget *TTolmMain::BuildConfigurationPage()
{
    Configuration = Named(new QWidget, "Configuration");

    OscillatorBox = Group("OscillatorBox", QStringLiteral("Oscillator"));
    OscBox = Named(new QComboBox, "OscBox");
    OscBox->addItem(QStringLiteral("RC"));
    OscBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *osc = new QVBoxLayout(OscillatorBox);
    osc->addWidget(OscBox);

    ProtectionBox = Group("ProtectionBox", QStringLiteral("Protection"));
    ProtNoneBtn = RadioButton("ProtNoneBtn", QStringLiteral("None"));
    ProtUp12Btn = RadioButton("ProtUp12Btn", QStringLiteral("Upper 1/2"));
    ProtUp34Btn = RadioButton("ProtUp34Btn", QStringLiteral("Upper 3/4"));
    ProtAllBtn = RadioButton("ProtAllBtn", QStringLiteral("All"));
    // An explicit group, so that a word matching no protection pattern can show no choice.
    ProtectionGroup = new QButtonGroup(this);
    ProtectionGroup->setObjectName(QStringLiteral("ProtectionGroup"));
    auto *prot = new QVBoxLayout(ProtectionBox);
    for (QRadioButton *b : {ProtNoneBtn, ProtUp12Btn, ProtUp34Btn, ProtAllBtn}) {
        ProtectionGroup->addButton(b);
        prot->addWidget(b);
    }

    Config = Group("Config", QStringLiteral("Direct Access"));
    ConfigEdit = HexEdit("ConfigEdit", 4, false);
    ConfigReadBtn = GlyphButton("ConfigReadBtn", QStringLiteral("Read Configuration Word Directly"),
                                QStringLiteral("config-read"));
    ConfigWriteBtn =
        GlyphButton("ConfigWriteBtn", QStringLiteral("Write Configuration Word Directly"),
                    QStringLiteral("config-write"));
    RefreshBtn =
        GlyphButton("RefreshBtn", QStringLiteral("Built from controls"), QStringLiteral("refresh"));
    auto *direct = new QVBoxLayout(Config);
    direct->addWidget(ConfigEdit);
    direct->addLayout(Row({ConfigReadBtn, ConfigWriteBtn, RefreshBtn}));

    CalibrationBox = Group("CalibrationBox", QStringLiteral("Oscillator Calibration"));
    CalEdit = HexEdit("CalEdit", 2, false);
    CalEdit->setToolTip(QStringLiteral("Calibration Value"));
    CalEdit->setAccessibleName(QStringLiteral("Calibration Value"));
    ReadCalBtn = GlyphButton("ReadCalBtn", QStringLiteral("Read Oscillator Calibration"),
                             QStringLiteral("cal-read"));
    WriteCalBtn = GlyphButton("WriteCalBtn", QStringLiteral("Write Oscillator Calibration"),
                              QStringLiteral("cal-write"));
    BuildCalBtn = GlyphButton("BuildCalBtn", QStringLiteral("Build From Memory"),
                              QStringLiteral("cal-build"));
    // Off by default: the factory's value belongs to this chip, a file's to another one.
    WriteCalCbx = CheckBox("WriteCalCbx", QStringLiteral("Write calibration word"));
    WriteCalCbx->setToolTip(QStringLiteral(
        "Write, Verify and Blank Check also take the calibration word at the top of program "
        "memory. Leave off to keep the chip's factory value: EPROM bits once cleared cannot "
        "be set again."));
    auto *cal = new QVBoxLayout(CalibrationBox);
    cal->addWidget(CalEdit);
    cal->addLayout(Row({ReadCalBtn, WriteCalBtn, BuildCalBtn}));
    cal->addWidget(WriteCalCbx);

    auto *page = new QGridLayout(Configuration);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(OscillatorBox, 0, 0);
    page->addWidget(ProtectionBox, 1, 0);
    page->addWidget(Config, 0, 1);
    page->addWidget(CalibrationBox, 1, 1, Qt::AlignTop);
    page->setRowStretch(2, 1);
    return Configuration;
}

QWidget *TTolmMain::BuildSystemPage()
{
    System = Named(new QWidget, "System");
    SystemBx = Group("SystemBx", QStringLiteral("System"));
    WdtCbx = CheckBox("WdtCbx", QStringLiteral("Watchdog Enable"));
    PutCbx = CheckBox("PutCbx", QStringLiteral("Power Up Timer"));
    LvpCbx = CheckBox("LvpCbx", QStringLiteral("Low Voltage Prog Enable"));
    BOutCbx = CheckBox("BOutCbx", QStringLiteral("Brownout"));
    MClrCbx = CheckBox("MClrCbx", QStringLiteral("MCLR Enable"));
    DebugCbx = CheckBox("DebugCbx", QStringLiteral("Debug"));
    CpdCbx = CheckBox("CpdCbx", QStringLiteral("Code Protect Data E2R"));
    WrtCbx = CheckBox("WrtCbx", QStringLiteral("Prg Mem Write Enable"));
    MpeenCbx = CheckBox("MpeenCbx", QStringLiteral("Memory Parity Error Enable"));
    auto *boxes = new QVBoxLayout(SystemBx);
    boxes->setSpacing(0);
    for (QWidget *w :
         {WdtCbx, PutCbx, LvpCbx, BOutCbx, MClrCbx, DebugCbx, CpdCbx, WrtCbx, MpeenCbx})
        boxes->addWidget(w);

    auto *page = new QVBoxLayout(System);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(SystemBx);
    page->addStretch();
    return System;
}

QWidget *TTolmMain::BuildAddressesPage()
{
    Addresses = Named(new QWidget, "Addresses");

    const auto rangeGroup = [](QGroupBox *box, QLineEdit *start, QLineEdit *end, QPushButton *max) {
        auto *grid = new QGridLayout(box);
        auto *startLabel = new QLabel(QStringLiteral("Start"));
        auto *endLabel = new QLabel(QStringLiteral("End"));
        startLabel->setBuddy(start);
        endLabel->setBuddy(end);
        grid->addWidget(startLabel, 0, 0);
        grid->addWidget(start, 0, 1);
        grid->addWidget(endLabel, 1, 0);
        grid->addWidget(end, 1, 1);
        grid->addWidget(max, 0, 2, 2, 1, Qt::AlignVCenter);
        grid->setColumnStretch(3, 1);
    };

    ProgMemBox = Group("ProgMemBox", QStringLiteral("Program Memory"));
    ProgStartEdit = HexEdit("ProgStartEdit", 4, true);
    ProgEndEdit = HexEdit("ProgEndEdit", 4, true);
    MaxProgBtn = Named(new QPushButton(QStringLiteral("Max")), "MaxProgBtn");
    MaxProgBtn->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    rangeGroup(ProgMemBox, ProgStartEdit, ProgEndEdit, MaxProgBtn);

    DataMemBox = Group("DataMemBox", QStringLiteral("Data Memory"));
    DataStartEdit = HexEdit("DataStartEdit", 2, true);
    DataEndEdit = HexEdit("DataEndEdit", 2, true);
    MaxDataBtn = Named(new QPushButton(QStringLiteral("Max")), "MaxDataBtn");
    MaxDataBtn->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    rangeGroup(DataMemBox, DataStartEdit, DataEndEdit, MaxDataBtn);

    auto *page = new QHBoxLayout(Addresses);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(ProgMemBox, 0, Qt::AlignTop);
    page->addWidget(DataMemBox, 0, Qt::AlignTop);
    page->addStretch();
    return Addresses;
}

void TTolmMain::ConnectHandlers()
{
    m_hexFilter = new HexEditFilter(this);
    for (QLineEdit *edit :
         {ConfigEdit, CalEdit, ProgStartEdit, ProgEndEdit, DataStartEdit, DataEndEdit}) {
        m_hexFilter->WatchHexEdit(edit);
        // A file dropped on the window is a file to load, never text for a hex field.
        edit->setAcceptDrops(false);
    }
    m_hexFilter->WatchSelector(DeviceSelector);
    m_hexFilter->WatchSelector(OscBox);

    // "activated" comes only from the user's pick, never from the program's own changes.
    connect(ConnectBtn, &QToolButton::clicked, this, &TTolmMain::ConnectBtnClick);
    connect(DeviceSelector, &QComboBox::activated, this, &TTolmMain::DeviceSelectorChange);
    connect(OptionsBtn, &QToolButton::clicked, this, &TTolmMain::OptionsBtnClick);
    connect(ExitBtn, &QToolButton::clicked, this, &TTolmMain::ExitBtnClick);
    connect(DataEditorBtn, &QToolButton::clicked, this, &TTolmMain::DataEditorBtnClick);
    connect(ProgEditorBtn, &QToolButton::clicked, this, &TTolmMain::ProgEditorBtnClick);
    connect(RefreshBtn, &QToolButton::clicked, this, &TTolmMain::RefreshBtnClick);
    connect(MaxProgBtn, &QPushButton::clicked, this, &TTolmMain::MaxProgBtnClick);
    connect(MaxDataBtn, &QPushButton::clicked, this, &TTolmMain::MaxDataBtnClick);
    connect(LoadFromFileBtn, &QToolButton::clicked, this, &TTolmMain::LoadFromFileBtnClick);
    connect(SaveToFileBtn, &QToolButton::clicked, this, &TTolmMain::SaveToFileBtnClick);
    connect(DetectBtn, &QToolButton::clicked, this, &TTolmMain::DetectBtnClick);
    // "clicked" is the user's tick only; a device change clears the box without a refusal.
    connect(EraseBeforeWriteCbx, &QCheckBox::clicked, this, &TTolmMain::EraseBeforeWriteToggled);
}
