// Assembly of the main window: a compact fixed window with a toolbar panel and four pages,
// laid out from the controls each part owns.
#include "ChecksumDisplay.h"
#include "ChipOperations.h"
#include "ChipRequest.h"
#include "ConfigurationPart.h"
#include "ControlFactory.h"
#include "DeviceChoice.h"
#include "DirectCommands.h"
#include "FilePart.h"
#include "MainStatusBar.h"
#include "ModuleConnection.h"
#include "Tolm32U.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The widgets side by side, packed to the left.
QHBoxLayout *RowOf(const QList<QWidget *> &widgets)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    for (QWidget *w : widgets)
        row->addWidget(w);
    row->addStretch();
    return row;
}

} // namespace

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
    BuildLogPane();
    layout->addWidget(OperationLogView);
    setCentralWidget(central);
    setStatusBar(StatusBar);
    setAcceptDrops(true);

    // Sized once with every group shown, so hiding the data or calibration group for a
    // device later never shrinks or jumps the window; the log pane adds to it when open.
    m_baseSize = sizeHint();
    m_builtSize = m_baseSize;
    setFixedSize(m_baseSize);
}

QWidget *TTolmMain::BuildToolbar()
{
    MainPnl = Named(new QFrame, "MainPnl");
    MainPnl->setFrameShape(QFrame::StyledPanel);
    MainPnl->setFrameShadow(QFrame::Raised);

    OptionsBtn = GlyphButton("OptionsBtn", QStringLiteral("Options"), QStringLiteral("options"));
    DataEditorBtn = GlyphButton("DataEditorBtn", QStringLiteral("Edit Data Memory"),
                                QStringLiteral("data-editor"));
    ProgEditorBtn = GlyphButton("ProgEditorBtn", QStringLiteral("View Program Memory"),
                                QStringLiteral("program-viewer"));
    ExitBtn = GlyphButton("ExitBtn", QStringLiteral("About Tolm"), QStringLiteral("about"));
    connect(OptionsBtn, &QToolButton::clicked, this, &TTolmMain::OptionsBtnClick);
    connect(ExitBtn, &QToolButton::clicked, this, &TTolmMain::ExitBtnClick);
    connect(DataEditorBtn, &QToolButton::clicked, this, &TTolmMain::DataEditorBtnClick);
    connect(ProgEditorBtn, &QToolButton::clicked, this, &TTolmMain::ProgEditorBtnClick);

    auto *row = new QHBoxLayout(MainPnl);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(2);
    for (QWidget *w :
         {m_module->ConnectButton(), static_cast<QWidget *>(OptionsBtn),
          static_cast<QWidget *>(DataEditorBtn), static_cast<QWidget *>(ProgEditorBtn)})
        row->addWidget(w);
    row->addSpacing(6);
    row->addWidget(m_device->Selector());
    row->addWidget(m_commands->DetectButton());
    row->addStretch();
    row->addWidget(ExitBtn);
    return MainPnl;
}

QWidget *TTolmMain::BuildProgrammingPage()
{
    Programming = Named(new QWidget, "Programming");
    auto *groups = new QHBoxLayout;
    groups->addWidget(m_request->TargetsGroup(), 1);
    groups->addWidget(m_request->MethodGroup());
    auto *page = new QVBoxLayout(Programming);
    page->setContentsMargins(4, 4, 4, 4);
    page->addLayout(groups);
    page->addLayout(RowOf(m_files->Buttons() + m_operations->OperationButtons() +
                          m_commands->ProgrammingButtons()));
    auto *extras = new QHBoxLayout;
    extras->addWidget(m_operations->EraseBeforeWriteBox());
    extras->addStretch();
    extras->addWidget(m_checksum->Label());
    page->addLayout(extras);
    page->addStretch();
    return Programming;
}

QWidget *TTolmMain::BuildConfigurationPage()
{
    Configuration = Named(new QWidget, "Configuration");

    Config = Group("Config", QStringLiteral("Direct Access"));
    auto *direct = new QVBoxLayout(Config);
    direct->addWidget(m_config->DirectField());
    direct->addLayout(
        RowOf(m_commands->DirectAccessButtons() << m_config->BuiltFromControlsButton()));

    CalibrationBox = Group("CalibrationBox", QStringLiteral("Oscillator Calibration"));
    auto *cal = new QVBoxLayout(CalibrationBox);
    cal->addWidget(m_config->CalibrationField());
    cal->addLayout(RowOf(m_commands->CalibrationButtons()));
    cal->addWidget(m_operations->WriteCalibrationBox());

    auto *page = new QGridLayout(Configuration);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(m_config->OscillatorGroup(), 0, 0);
    page->addWidget(m_config->ProtectionGroupBox(), 1, 0);
    page->addWidget(Config, 0, 1);
    // Under the direct access: the calibration value, and the part's own fields (the parts
    // that have those keep their calibration word elsewhere).
    auto *lower = new QVBoxLayout;
    lower->addWidget(CalibrationBox);
    lower->addWidget(m_config->OwnFieldsGroup());
    lower->addStretch();
    page->addLayout(lower, 1, 1);
    page->setRowStretch(2, 1);
    return Configuration;
}

QWidget *TTolmMain::BuildSystemPage()
{
    System = Named(new QWidget, "System");
    auto *page = new QVBoxLayout(System);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(m_config->SystemGroup());
    page->addStretch();
    return System;
}

QWidget *TTolmMain::BuildAddressesPage()
{
    Addresses = Named(new QWidget, "Addresses");
    auto *page = new QHBoxLayout(Addresses);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(m_request->ProgramRangeGroup(), 0, Qt::AlignTop);
    page->addWidget(m_request->DataRangeGroup(), 0, Qt::AlignTop);
    page->addStretch();
    return Addresses;
}
