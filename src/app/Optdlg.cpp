#include "Optdlg.h"

#include "ProductionLogBox.h"

#include "device/DeviceTable.h"
#include "ops/Messages.h"
#include "settings/DesktopSettings.h"
#include "settings/PrivateProfile.h"
#include "settings/ProfileList.h"
#include "settings/TolmSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

static void InitOptionsResources()
{
    Q_INIT_RESOURCE(Optdlg);
}

namespace {

const QString kCom1 = QStringLiteral("COM1");
const QString kCom2 = QStringLiteral("COM2");
const char *const kPortNameProperty = "portName";
constexpr int kMaxTypedPorts = 8;

// The Save glyph is our own drawing; QSvgRenderer draws it without needing an icon plugin.
QIcon SaveGlyph()
{
    QSvgRenderer renderer(QStringLiteral(":/options/glyphs/save.svg"));
    QIcon icon;
    for (const int side : {16, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        icon.addPixmap(pixmap);
    }
    return icon;
}

template <typename T> T *Named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

TOptionsDlg::TOptionsDlg(Messages &messages, QWidget *parent)
    : QDialog(parent), m_messages(messages)
{
    InitOptionsResources();
    setObjectName(QStringLiteral("OptionsDlg"));
    setWindowTitle(QStringLiteral("Options"));
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    m_typedPorts = ReadProfileList(PrivateProfile(TolmSettings::SettingsFilePath()),
                                   DesktopSettings::kTypedPortsSection,
                                   DesktopSettings::kTypedPortKey, kMaxTypedPorts);
    CreateControls();
    LayOutControls();
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(SaveBtn, &QPushButton::clicked, this, &TOptionsDlg::SaveBtnClick);
    SetTabOrder();
}

void TOptionsDlg::CreateControls()
{
    // The "&" marks each group's and button's Alt key; the captions read as before.
    ComPortNum = Named(new QGroupBox(QStringLiteral("Module &Port"), this), "ComPortNum");
    Com1Btn = Named(new QRadioButton(kCom1, ComPortNum), "Com1Btn");
    Com1Btn->setProperty(kPortNameProperty, kCom1);
    Com2Btn = Named(new QRadioButton(kCom2, ComPortNum), "Com2Btn");
    Com2Btn->setProperty(kPortNameProperty, kCom2);
    Com1Btn->setChecked(true);

    DeviceSet = Named(new QGroupBox(QStringLiteral("&Device"), this), "DeviceSet");
    DeviceSelectOpt = Named(new QComboBox(DeviceSet), "DeviceSelectOpt");
    // Unlike the main window's selector this box takes any typed text; a name that is not
    // in the catalogue is dealt with when the main window applies it.
    DeviceSelectOpt->setEditable(true);
    DeviceSelectOpt->setInsertPolicy(QComboBox::NoInsert);
    DeviceSelectOpt->addItems(SelectorDeviceNames());
    DeviceSelectOpt->setEditText(TolmSettings::kDefaultDevice);
    // Device names are exact and case-sensitive, so what is typed must be what Save writes.
    // Qt's own completer fills in "16f83" while "16f8" is typed, and on Enter the box picks
    // the item that matches without regard to case ("16F84" becomes "16f84"). A completer
    // with nothing to offer that matches case keeps the text as typed.
    auto *noCompletion = new QCompleter(QStringList(), DeviceSelectOpt);
    noCompletion->setCaseSensitivity(Qt::CaseSensitive);
    DeviceSelectOpt->setCompleter(noCompletion);

    OtherPortBtn = Named(new QRadioButton(QStringLiteral("Ot&her:"), ComPortNum), "OtherPortBtn");
    PortEdit = Named(new QLineEdit(ComPortNum), "PortEdit");
    PortEdit->setPlaceholderText(QStringLiteral("ttyUSB3 or a path"));
    // Wide enough for the start of a /dev/serial/by-id/ path; the tooltip shows the rest.
    PortEdit->setMinimumWidth(PortEdit->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24);
    PortEdit->setToolTip(QStringLiteral("Any serial port by name: ttyUSB3, "
                                        "/dev/serial/by-id/..., a simulator's link"));
    const QString portHint = PortEdit->toolTip();
    connect(PortEdit, &QLineEdit::textChanged, PortEdit, [this, portHint](const QString &text) {
        PortEdit->setToolTip(text.isEmpty() ? portHint : text);
    });
    // Typing a name picks it.
    connect(PortEdit, &QLineEdit::textEdited, OtherPortBtn,
            [this] { OtherPortBtn->setChecked(true); });

    DirBox = Named(new QGroupBox(QStringLiteral("&Working Directory"), this), "DirBox");
    WorkingDirEdit = Named(new QLineEdit(DirBox), "WorkingDirEdit");
    ReloadAtOnceCbx = Named(new QCheckBox(QStringLiteral("Re&load a changed file at once"), this),
                            "ReloadAtOnceCbx");
    ReloadAtOnceCbx->setToolTip(QStringLiteral("When the loaded hex file changes on disk, load "
                                               "it again without asking"));
    ProductionLog = new ProductionLogBox(this);

    OKBtn = Named(new QPushButton(QStringLiteral("&OK"), this), "OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = Named(new QPushButton(QStringLiteral("C&ancel"), this), "CancelBtn");
    SaveBtn = Named(new QPushButton(SaveGlyph(), QStringLiteral("&Save"), this), "SaveBtn");
    SaveBtn->setAutoDefault(false);
    CancelBtn->setAutoDefault(false);
}

void TOptionsDlg::LayOutControls()
{
    // COM1 and COM2 side by side, as ever; the longer names of other ports one to a row.
    auto *portGroup = new QVBoxLayout(ComPortNum);
    m_portLayout = new QGridLayout;
    m_portLayout->addWidget(Com1Btn, 0, 0);
    m_portLayout->addWidget(Com2Btn, 0, 1);
    auto *other = new QHBoxLayout;
    other->addWidget(OtherPortBtn);
    other->addWidget(PortEdit, 1);
    portGroup->addLayout(m_portLayout);
    portGroup->addLayout(other);

    auto *deviceLayout = new QHBoxLayout(DeviceSet);
    deviceLayout->addWidget(DeviceSelectOpt);

    auto *dirLayout = new QHBoxLayout(DirBox);
    dirLayout->addWidget(WorkingDirEdit);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(SaveBtn);
    buttons->addStretch();

    auto *grid = new QGridLayout(this);
    grid->addWidget(ComPortNum, 0, 0);
    grid->addWidget(DeviceSet, 0, 1);
    grid->addWidget(DirBox, 1, 0, 1, 2);
    grid->addWidget(ReloadAtOnceCbx, 2, 0, 1, 2);
    grid->addWidget(ProductionLog, 3, 0, 1, 2);
    grid->addLayout(buttons, 0, 2, 4, 1);
    grid->setColumnStretch(1, 1);
    setMinimumWidth(377);
    // Never narrower than the controls need: a dialog sized to fit a small screen (at a large
    // scale) would otherwise cut the typed port's field.
    grid->setSizeConstraint(QLayout::SetMinimumSize);
}

// The eye reads the groups top left to bottom, then the buttons on the right.
void TOptionsDlg::SetTabOrder()
{
    QList<QWidget *> chain;
    for (QRadioButton *button : PortButtons())
        chain << button;
    chain << OtherPortBtn << PortEdit << DeviceSelectOpt << WorkingDirEdit << ReloadAtOnceCbx
          << ProductionLog->ProductionLogCbx << ProductionLog->ProductionLogEdit << OKBtn
          << CancelBtn << SaveBtn;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

QList<QRadioButton *> TOptionsDlg::PortButtons() const
{
    return QList<QRadioButton *>{Com1Btn, Com2Btn} + m_extraPortButtons;
}

QRadioButton *TOptionsDlg::AddPortButton(const PortChoice &choice)
{
    auto *button = new QRadioButton(choice.label, ComPortNum);
    button->setObjectName(QStringLiteral("PortBtn%1").arg(m_extraPortButtons.size() + 1));
    button->setProperty(kPortNameProperty, choice.name);
    m_portLayout->addWidget(button, m_portLayout->rowCount(), 0, 1, 2);
    m_extraPortButtons.append(button);
    return button;
}

QString TOptionsDlg::PortText() const
{
    if (OtherPortBtn->isChecked() && !PortEdit->text().trimmed().isEmpty())
        return PortEdit->text().trimmed();
    for (const QRadioButton *button : PortButtons()) {
        if (button->isChecked())
            return button->property(kPortNameProperty).toString();
    }
    return kCom1;
}

void TOptionsDlg::SetPortText(const QString &text, const QList<SystemPort> &systemPorts)
{
    qDeleteAll(m_extraPortButtons);
    m_extraPortButtons.clear();
    const QList<PortChoice> choices = ModulePortChoices(systemPorts, text, m_typedPorts);
    for (qsizetype i = 2; i < choices.size(); ++i)
        AddPortButton(choices[i]);
    SetTabOrder();
    adjustSize();

    PortEdit->clear();
    Com1Btn->setChecked(true);
    for (QRadioButton *button : PortButtons()) {
        if (button->property(kPortNameProperty).toString() == text)
            button->setChecked(true);
    }
}

void TOptionsDlg::accept()
{
    if (OtherPortBtn->isChecked() && !PortText().isEmpty())
        m_typedPorts = WithItemFirst(m_typedPorts, PortText(), kMaxTypedPorts);
    QDialog::accept();
}

void TOptionsDlg::SaveBtnClick()
{
    PrivateProfile profile(TolmSettings::SettingsFilePath());
    const QString failure =
        QStringLiteral("Unable to write to %1").arg(QFileInfo(profile.Path()).fileName());
    // One replacement of the file for the three keys: a failure leaves all of them as they were.
    if (!profile.WriteStrings(TolmSettings::kSection,
                              {{TolmSettings::kPicDeviceKey, DeviceSelectOpt->currentText()},
                               {TolmSettings::kModulePortKey, PortText()},
                               {TolmSettings::kWorkingDirKey, WorkingDirEdit->text()}})) {
        m_messages.Error(failure);
        return;
    }
    // Section Main stays as it always was; what the desktop adds goes to sections of its own.
    QStringList typed = m_typedPorts;
    if (OtherPortBtn->isChecked())
        typed = WithItemFirst(typed, PortText(), kMaxTypedPorts);
    // Written only where they differ from the file (an absent key reads as the default), so
    // a user who never touches them keeps a file of section Main alone.
    const QString reload = ReloadAtOnceCbx->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    const bool reloadStored =
        profile.ReadString(DesktopSettings::kFilesSection, DesktopSettings::kReloadAtOnceKey,
                           QStringLiteral("0")) == reload ||
        profile.WriteString(DesktopSettings::kFilesSection, DesktopSettings::kReloadAtOnceKey,
                            reload);
    const bool extrasWritten =
        WriteProfileList(profile, DesktopSettings::kTypedPortsSection,
                         DesktopSettings::kTypedPortKey, typed, kMaxTypedPorts) &&
        reloadStored;
    if (!extrasWritten) {
        m_messages.Error(failure);
        return;
    }
    if (const auto refusal = ProductionLog->Save(profile))
        m_messages.Error(*refusal);
}

void TOptionsDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ProductionLog->Load(PrivateProfile(TolmSettings::SettingsFilePath()));
    // Tab then walks the fields in the order they are read; Enter still answers OK, the
    // default button.
    for (QRadioButton *button : PortButtons()) {
        if (button->isChecked())
            button->setFocus();
    }
}
