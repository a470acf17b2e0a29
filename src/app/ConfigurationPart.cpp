#include "ConfigurationPart.h"

#include "ControlFactory.h"
#include "HexEditFilter.h"
#include "OwnFieldControls.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRecord.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

ConfigurationPart::ConfigurationPart(MemoryImage &image, const DeviceRecord &device,
                                     QObject *parent)
    : QObject(parent), m_image(image), m_device(device)
{
    setObjectName(QStringLiteral("ConfigurationPart"));
    BuildOscillatorAndProtection();
    BuildSystemBoxes();
    BuildFields();
    m_ownFields = new OwnFieldControls(this);
    connect(m_ownFields, &OwnFieldControls::ControlsChanged, this,
            &ConfigurationPart::ControlsChanged);
}

void ConfigurationPart::BuildOscillatorAndProtection()
{
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

    auto *filter = new HexEditFilter(this);
    filter->WatchSelector(OscBox);
    connect(OscBox, &QComboBox::currentIndexChanged, this, &ConfigurationPart::ControlsChanged);
    connect(ProtectionGroup, &QButtonGroup::buttonToggled, this,
            &ConfigurationPart::ControlsChanged);
}

void ConfigurationPart::BuildSystemBoxes()
{
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
    for (QCheckBox *box :
         {WdtCbx, PutCbx, LvpCbx, BOutCbx, MClrCbx, DebugCbx, CpdCbx, WrtCbx, MpeenCbx}) {
        boxes->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &ConfigurationPart::ControlsChanged);
    }
}

void ConfigurationPart::BuildFields()
{
    ConfigEdit = HexEdit("ConfigEdit", 4, false);
    RefreshBtn =
        GlyphButton("RefreshBtn", QStringLiteral("Built from controls"), QStringLiteral("refresh"));
    CalEdit = HexEdit("CalEdit", 2, false);
    CalEdit->setToolTip(QStringLiteral("Calibration Value"));
    CalEdit->setAccessibleName(QStringLiteral("Calibration Value"));
    auto *filter = new HexEditFilter(this);
    for (QLineEdit *edit : {ConfigEdit, CalEdit}) {
        filter->WatchHexEdit(edit);
        edit->setAcceptDrops(false); // a dropped file is a file to load
    }
    connect(RefreshBtn, &QToolButton::clicked, this, &ConfigurationPart::RefreshBtnClick);
}

QWidget *ConfigurationPart::OscillatorGroup() const
{
    return OscillatorBox;
}

QWidget *ConfigurationPart::ProtectionGroupBox() const
{
    return ProtectionBox;
}

QWidget *ConfigurationPart::SystemGroup() const
{
    return SystemBx;
}

QWidget *ConfigurationPart::DirectField() const
{
    return ConfigEdit;
}

QWidget *ConfigurationPart::BuiltFromControlsButton() const
{
    return RefreshBtn;
}

QWidget *ConfigurationPart::CalibrationField() const
{
    return CalEdit;
}

QWidget *ConfigurationPart::OwnFieldsGroup() const
{
    return m_ownFields->Group();
}

ConfigControls ConfigurationPart::ReadConfigControls() const
{
    ConfigControls c;
    c.OscBox = OscBox->currentIndex();
    c.WdtCbx = WdtCbx->isChecked();
    c.PutCbx = PutCbx->isChecked();
    c.LvpCbx = LvpCbx->isChecked();
    c.BOutCbx = BOutCbx->isChecked();
    c.MClrCbx = MClrCbx->isChecked();
    c.DebugCbx = DebugCbx->isChecked();
    c.CpdCbx = CpdCbx->isChecked();
    c.WrtCbx = WrtCbx->isChecked();
    c.MpeenCbx = MpeenCbx->isChecked();
    c.ProtNoneBtn = ProtNoneBtn->isChecked();
    c.ProtUp12Btn = ProtUp12Btn->isChecked();
    c.ProtUp34Btn = ProtUp34Btn->isChecked();
    c.ProtAllBtn = ProtAllBtn->isChecked();
    return c;
}

void ConfigurationPart::WriteConfigControls(const ConfigControls &c)
{
    if (c.OscBox >= 0 && c.OscBox < OscBox->count())
        OscBox->setCurrentIndex(c.OscBox);
    WdtCbx->setChecked(c.WdtCbx);
    PutCbx->setChecked(c.PutCbx);
    LvpCbx->setChecked(c.LvpCbx);
    BOutCbx->setChecked(c.BOutCbx);
    MClrCbx->setChecked(c.MClrCbx);
    DebugCbx->setChecked(c.DebugCbx);
    CpdCbx->setChecked(c.CpdCbx);
    WrtCbx->setChecked(c.WrtCbx);
    MpeenCbx->setChecked(c.MpeenCbx);
    // A word that matches no protection pattern shows no choice at all, a state an
    // exclusive group cannot reach by itself.
    ProtectionGroup->setExclusive(false);
    ProtNoneBtn->setChecked(c.ProtNoneBtn);
    ProtUp12Btn->setChecked(c.ProtUp12Btn);
    ProtUp34Btn->setChecked(c.ProtUp34Btn);
    ProtAllBtn->setChecked(c.ProtAllBtn);
    ProtectionGroup->setExclusive(true);
}

void ConfigurationPart::ConfigToControls()
{
    WriteConfigControls(::ConfigToControls(m_image.ConfigWord, m_device, ReadConfigControls()));
    m_ownFields->Show(0, m_image.ConfigWord);
    m_ownFields->Show(1, m_image.SecondConfigWord);
}

std::uint16_t ConfigurationPart::ControlsToConfig()
{
    m_image.ConfigWord = WordFromControls();
    m_image.SecondConfigWord = SecondWordFromControls();
    return m_image.ConfigWord;
}

std::uint16_t ConfigurationPart::WordFromControls() const
{
    // The shared option controls first, then the part's own fields over them.
    return m_ownFields->Apply(
        0, ::ControlsToConfig(ReadConfigControls(), m_device, m_image.ConfigWord));
}

std::uint16_t ConfigurationPart::SecondWordFromControls() const
{
    return m_ownFields->Apply(1, m_image.SecondConfigWord);
}

QString ConfigurationPart::DirectText() const
{
    return ConfigEdit->displayText();
}

void ConfigurationPart::ShowDirectText(const QString &text)
{
    ConfigEdit->setText(text);
}

void ConfigurationPart::ShowDirectValue(std::uint16_t word)
{
    ConfigEdit->setText(FormatHex(word, 4));
}

QString ConfigurationPart::CalibrationText() const
{
    return CalEdit->displayText();
}

void ConfigurationPart::ShowCalibrationText(const QString &text)
{
    CalEdit->setText(text);
}

void ConfigurationPart::RefreshBtnClick()
{
    ShowDirectValue(ControlsToConfig());
}

void ConfigurationPart::AdaptToDevice()
{
    // The device rules say which controls it offers and what a device change leaves of them
    // (device/ConfigControls); the widgets only follow.
    SetOscillatorList();
    WriteConfigControls(ControlsAfterDeviceSelection(m_device, ReadConfigControls()));
    m_ownFields->Rebuild(m_device);
    const ConfigControlsEnabled offered = EnabledControls(m_device);
    const std::pair<QWidget *, bool> enabled[] = {
        {WdtCbx, offered.WdtCbx},           {PutCbx, offered.PutCbx},
        {LvpCbx, offered.LvpCbx},           {BOutCbx, offered.BOutCbx},
        {MClrCbx, offered.MClrCbx},         {DebugCbx, offered.DebugCbx},
        {CpdCbx, offered.CpdCbx},           {WrtCbx, offered.WrtCbx},
        {MpeenCbx, offered.MpeenCbx},       {ProtUp12Btn, offered.ProtUp12Btn},
        {ProtUp34Btn, offered.ProtUp34Btn},
    };
    for (const auto &[control, on] : enabled)
        control->setEnabled(on);
}

void ConfigurationPart::SetOscillatorList()
{
    if (!HasOscillatorList(m_device))
        return; // the no-device row keeps whatever list is shown
    OscBox->clear();
    OscBox->addItems(OscillatorList(m_device));
}
