#include "Optdlg.h"

#include "ProductionLogBox.h"

#include "device/catalogue/CatalogueInUse.h"
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
const char *const kTypedProperty = "typed";
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

// A setting that is on or off, written only where it differs from the file (an absent key
// reads as the default), so a user who never touches it keeps a file without it.
bool StoreSwitch(PrivateProfile &profile, const QString &section, const QString &key, bool on,
                 bool byDefault)
{
    const QString value = on ? QStringLiteral("1") : QStringLiteral("0");
    const QString stored =
        profile.ReadString(section, key, byDefault ? QStringLiteral("1") : QStringLiteral("0"));
    return stored == value || profile.WriteString(section, key, value);
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
    // Picking "Other" is picking the field: the cursor goes there to type the name.
    connect(OtherPortBtn, &QRadioButton::toggled, PortEdit, [this](bool picked) {
        if (picked)
            PortEdit->setFocus();
    });
    RemovePortBtn = Named(new QPushButton(QStringLiteral("&Remove"), ComPortNum), "RemovePortBtn");
    RemovePortBtn->setToolTip(QStringLiteral("Take the picked port off the list of ports typed "
                                             "before"));
    RemovePortBtn->setAutoDefault(false);
    RemovePortBtn->setEnabled(false);
    connect(RemovePortBtn, &QPushButton::clicked, this, &TOptionsDlg::RemovePortBtnClick);
    // Typing a name picks it.
    connect(PortEdit, &QLineEdit::textEdited, OtherPortBtn,
            [this] { OtherPortBtn->setChecked(true); });

    DirBox = Named(new QGroupBox(QStringLiteral("&Working Directory"), this), "DirBox");
    WorkingDirEdit = Named(new QLineEdit(DirBox), "WorkingDirEdit");
    ReloadAtOnceCbx = Named(new QCheckBox(QStringLiteral("Re&load a changed file at once"), this),
                            "ReloadAtOnceCbx");
    ReloadAtOnceCbx->setToolTip(QStringLiteral("When the loaded hex file changes on disk, load "
                                               "it again without asking"));
    ConfirmSuccessesCbx =
        Named(new QCheckBox(QStringLiteral("&Confirm successes with a box"), this),
              "ConfirmSuccessesCbx");
    ConfirmSuccessesCbx->setChecked(true);
    ConfirmSuccessesCbx->setToolTip(QStringLiteral("Off: \"File loaded successfully\" and a "
                                                   "verify without errors go to the status line "
                                                   "and the log"));
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
    other->addWidget(RemovePortBtn);
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
    grid->addWidget(ConfirmSuccessesCbx, 3, 0, 1, 2);
    grid->addWidget(ProductionLog, 4, 0, 1, 2);
    grid->addLayout(buttons, 0, 2, 5, 1);
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
    chain << OtherPortBtn << PortEdit << RemovePortBtn << DeviceSelectOpt << WorkingDirEdit
          << ReloadAtOnceCbx << ConfirmSuccessesCbx << ProductionLog->ProductionLogCbx
          << ProductionLog->ProductionLogEdit << OKBtn << CancelBtn << SaveBtn;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

QList<QRadioButton *> TOptionsDlg::PortButtons() const
{
    QList<QRadioButton *> buttons;
    for (QRadioButton *com : {Com1Btn, Com2Btn}) {
        if (!com->isHidden())
            buttons << com;
    }
    return buttons + m_extraPortButtons;
}

QRadioButton *TOptionsDlg::AddPortButton(const PortChoice &choice)
{
    auto *button = new QRadioButton(choice.label, ComPortNum);
    button->setObjectName(QStringLiteral("PortBtn%1").arg(m_extraPortButtons.size() + 1));
    button->setProperty(kPortNameProperty, choice.name);
    button->setProperty(kTypedProperty, choice.typed);
    m_portLayout->addWidget(button, m_portLayout->rowCount(), 0, 1, 2);
    // A child added while the dialog is open is hidden until shown.
    button->show();
    m_extraPortButtons.append(button);
    connect(button, &QRadioButton::toggled, this, &TOptionsDlg::ShowRemovable);
    return button;
}

void TOptionsDlg::ShowRemovable()
{
    // The port the program runs with stays listed while it is in use.
    bool removable = false;
    for (const QRadioButton *button : m_extraPortButtons) {
        removable =
            removable || (button->isChecked() && button->property(kTypedProperty).toBool() &&
                          button->property(kPortNameProperty).toString() != m_shownPort);
    }
    RemovePortBtn->setEnabled(removable);
}

void TOptionsDlg::RemovePortBtnClick()
{
    m_typedPorts.removeAll(PortText());
    SetPortText(m_shownPort, m_systemPorts, m_comPorts);
    PickPort(QString());
}

QString TOptionsDlg::PortText() const
{
    if (OtherPortBtn->isChecked())
        return PortEdit->text().trimmed();
    for (const QRadioButton *button : PortButtons()) {
        if (button->isChecked())
            return button->property(kPortNameProperty).toString();
    }
    return {}; // none picked: no port chosen yet
}

void TOptionsDlg::SetPortText(const QString &text, const QList<SystemPort> &systemPorts,
                              const QStringList &comPorts)
{
    m_shownPort = text;
    m_systemPorts = systemPorts;
    m_comPorts = comPorts;
    qDeleteAll(m_extraPortButtons);
    m_extraPortButtons.clear();
    Com1Btn->hide();
    Com2Btn->hide();
    for (const PortChoice &choice : ModulePortChoices(systemPorts, text, m_typedPorts, comPorts)) {
        if (choice.name == Com1Btn->property(kPortNameProperty).toString())
            Com1Btn->show();
        else if (choice.name == Com2Btn->property(kPortNameProperty).toString())
            Com2Btn->show();
        else
            AddPortButton(choice);
    }
    SetTabOrder();
    adjustSize();

    PortEdit->clear();
    PickPort(text);
}

void TOptionsDlg::PickPort(const QString &name)
{
    // Only the port named exactly so is picked; with none (a first start) nothing is, rather
    // than a port of this machine the user never chose.
    QList<QRadioButton *> all{Com1Btn, Com2Btn, OtherPortBtn};
    all += m_extraPortButtons;
    for (QRadioButton *button : all) {
        button->setAutoExclusive(false);
        button->setChecked(!button->isHidden() && button != OtherPortBtn &&
                           button->property(kPortNameProperty).toString() == name);
        button->setAutoExclusive(true);
    }
    ShowRemovable();
}

void TOptionsDlg::accept()
{
    if (OtherPortBtn->isChecked() && PortText().isEmpty()) {
        m_messages.Warning(QStringLiteral("Type the module's port after \"Other\" (ttyUSB0, or "
                                          "a path), or choose one of the listed ports."));
        PortEdit->setFocus();
        return;
    }
    if (OtherPortBtn->isChecked())
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
    const bool extrasWritten =
        WriteProfileList(profile, DesktopSettings::kTypedPortsSection,
                         DesktopSettings::kTypedPortKey, typed, kMaxTypedPorts) &&
        StoreSwitch(profile, DesktopSettings::kFilesSection, DesktopSettings::kReloadAtOnceKey,
                    ReloadAtOnceCbx->isChecked(), false) &&
        StoreSwitch(profile, DesktopSettings::kBoxesSection, DesktopSettings::kConfirmSuccessesKey,
                    ConfirmSuccessesCbx->isChecked(), true);
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
    // default button. With no port picked yet, the first one offered has the focus.
    QRadioButton *focused = nullptr;
    for (QRadioButton *button : PortButtons()) {
        if (!button->isHidden() && (button->isChecked() || !focused))
            focused = button;
    }
    (focused ? focused : OtherPortBtn)->setFocus();
}
