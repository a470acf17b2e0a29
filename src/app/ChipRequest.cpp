#include "ChipRequest.h"

#include "ControlFactory.h"
#include "HexEditFilter.h"
#include "device/DeviceRecord.h"
#include "ops/Messages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ChipRequest::ChipRequest(Messages &messages, QObject *parent)
    : QObject(parent), m_messages(messages)
{
    setObjectName(QStringLiteral("ChipRequest"));
    BuildTargets();
    BuildRanges();
}

void ChipRequest::BuildTargets()
{
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
}

void ChipRequest::BuildRanges()
{
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
    const auto maxButton = [](const char *name) {
        auto *button = Named(new QPushButton(QStringLiteral("Max")), name);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        return button;
    };

    ProgMemBox = Group("ProgMemBox", QStringLiteral("Program Memory"));
    ProgStartEdit = HexEdit("ProgStartEdit", 4, true);
    ProgEndEdit = HexEdit("ProgEndEdit", 4, true);
    MaxProgBtn = maxButton("MaxProgBtn");
    rangeGroup(ProgMemBox, ProgStartEdit, ProgEndEdit, MaxProgBtn);

    DataMemBox = Group("DataMemBox", QStringLiteral("Data Memory"));
    DataStartEdit = HexEdit("DataStartEdit", 2, true);
    DataEndEdit = HexEdit("DataEndEdit", 2, true);
    MaxDataBtn = maxButton("MaxDataBtn");
    rangeGroup(DataMemBox, DataStartEdit, DataEndEdit, MaxDataBtn);

    auto *filter = new HexEditFilter(this);
    for (QLineEdit *edit : {ProgStartEdit, ProgEndEdit, DataStartEdit, DataEndEdit}) {
        filter->WatchHexEdit(edit);
        // A file dropped on the window is a file to load, never text for a hex field.
        edit->setAcceptDrops(false);
    }
    connect(MaxProgBtn, &QPushButton::clicked, this, &ChipRequest::MaxProgBtnClick);
    connect(MaxDataBtn, &QPushButton::clicked, this, &ChipRequest::MaxDataBtnClick);
}

QWidget *ChipRequest::TargetsGroup() const
{
    return TargetsBox;
}

QWidget *ChipRequest::MethodGroup() const
{
    return MethodBox;
}

QWidget *ChipRequest::ProgramRangeGroup() const
{
    return ProgMemBox;
}

QWidget *ChipRequest::DataRangeGroup() const
{
    return DataMemBox;
}

HexTargets ChipRequest::CheckedTargets() const
{
    HexTargets targets;
    targets.Program = ProgMemCbx->isChecked();
    targets.Data = DataMemCbx->isChecked();
    targets.Config = ConfigCbx->isChecked();
    targets.IDCode = IDCodeCbx->isChecked();
    return targets;
}

bool ChipRequest::Ticked(ChipTarget target) const
{
    const HexTargets targets = CheckedTargets();
    switch (target) {
    case ChipTarget::ProgramMemory:
        return targets.Program;
    case ChipTarget::DataMemory:
        return targets.Data;
    case ChipTarget::IdCode:
        return targets.IDCode;
    case ChipTarget::ConfigWord:
        return targets.Config;
    }
    return false;
}

bool ChipRequest::NoTargetSelected()
{
    if (CheckedTargets().Any())
        return false;
    m_messages.Warning(QStringLiteral("No target selected"));
    return true;
}

void ChipRequest::TickOfferedTargets()
{
    for (QCheckBox *target : {ProgMemCbx, DataMemCbx, ConfigCbx, IDCodeCbx})
        target->setChecked(target->isEnabled());
}

bool ChipRequest::ParallelSelected() const
{
    return ParallelRBtn->isChecked();
}

void ChipRequest::SetParallelSelected(bool parallel)
{
    (parallel ? ParallelRBtn : SerialRBtn)->setChecked(true);
}

// displayText keeps a blank position as "_", so a half-filled field fails to convert instead
// of closing up into a different number.
HexAddressTexts ChipRequest::AddressTexts() const
{
    return {ProgStartEdit->displayText(), ProgEndEdit->displayText(), DataStartEdit->displayText(),
            DataEndEdit->displayText()};
}

void ChipRequest::AdaptToDevice(const DeviceRecord &device)
{
    SetMethodButtons(device);
    m_progMaxText = device.ProgMaxText;
    m_dataMaxText = device.DataMaxText;
    MaxProgBtnClick();
    MaxDataBtnClick();

    const bool hasData = device.HasDataMemory;
    DataMemBox->setEnabled(hasData);
    DataMemBox->setVisible(hasData);
    if (!hasData)
        DataMemCbx->setChecked(false);
    DataMemCbx->setEnabled(hasData);

    const bool hasConfigWord = !device.NoConfigWord;
    if (!hasConfigWord)
        ConfigCbx->setChecked(false);
    ConfigCbx->setEnabled(hasConfigWord);
    SerialRBtn->setEnabled(device.HasSerial);
    ParallelRBtn->setEnabled(device.HasParallel);
}

void ChipRequest::SetMethodButtons(const DeviceRecord &device)
{
    // Parallel is the preselected method wherever the device has it.
    const bool parallel = device.HasParallel;
    ParallelRBtn->setAutoExclusive(false);
    SerialRBtn->setAutoExclusive(false);
    ParallelRBtn->setChecked(parallel);
    SerialRBtn->setChecked(!parallel);
    ParallelRBtn->setAutoExclusive(true);
    SerialRBtn->setAutoExclusive(true);
}

void ChipRequest::MaxProgBtnClick()
{
    ProgStartEdit->setText(QStringLiteral("0000"));
    ProgEndEdit->setText(m_progMaxText);
}

void ChipRequest::MaxDataBtnClick()
{
    DataStartEdit->setText(QStringLiteral("00"));
    DataEndEdit->setText(m_dataMaxText);
}
