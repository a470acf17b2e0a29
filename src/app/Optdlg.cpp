#include "Optdlg.h"

#include "Messages.h"
#include "device/DeviceTable.h"
#include "settings/PrivateProfile.h"
#include "settings/TolmSettings.h"

#include <QComboBox>
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
#include <array>
#include <utility>

static void InitOptionsResources()
{
    Q_INIT_RESOURCE(Optdlg);
}

namespace {

const QString kCom1 = QStringLiteral("COM1");
const QString kCom2 = QStringLiteral("COM2");

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
    CreateControls();
    LayOutControls();
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(SaveBtn, &QPushButton::clicked, this, &TOptionsDlg::SaveBtnClick);
}

void TOptionsDlg::CreateControls()
{
    ComPortNum = Named(new QGroupBox(QStringLiteral("Module Port"), this), "ComPortNum");
    Com1Btn = Named(new QRadioButton(kCom1, ComPortNum), "Com1Btn");
    Com2Btn = Named(new QRadioButton(kCom2, ComPortNum), "Com2Btn");
    Com1Btn->setChecked(true);

    DeviceSet = Named(new QGroupBox(QStringLiteral("Device"), this), "DeviceSet");
    DeviceSelectOpt = Named(new QComboBox(DeviceSet), "DeviceSelectOpt");
    // Unlike the main window's selector this box takes any typed text; a name that is not
    // in the catalogue is dealt with when the main window applies it.
    DeviceSelectOpt->setEditable(true);
    DeviceSelectOpt->setInsertPolicy(QComboBox::NoInsert);
    DeviceSelectOpt->addItems(SelectorDeviceNames());
    DeviceSelectOpt->setEditText(TolmSettings::kDefaultDevice);

    DirBox = Named(new QGroupBox(QStringLiteral("Working Directory"), this), "DirBox");
    WorkingDirEdit = Named(new QLineEdit(DirBox), "WorkingDirEdit");

    OKBtn = Named(new QPushButton(QStringLiteral("OK"), this), "OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = Named(new QPushButton(QStringLiteral("Cancel"), this), "CancelBtn");
    SaveBtn = Named(new QPushButton(SaveGlyph(), QStringLiteral("Save"), this), "SaveBtn");
    SaveBtn->setAutoDefault(false);
    CancelBtn->setAutoDefault(false);
}

void TOptionsDlg::LayOutControls()
{
    auto *portLayout = new QHBoxLayout(ComPortNum);
    portLayout->addWidget(Com1Btn);
    portLayout->addWidget(Com2Btn);

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
    grid->addLayout(buttons, 0, 2, 2, 1);
    grid->setColumnStretch(1, 1);
    setMinimumWidth(377);
}

QString TOptionsDlg::PortText() const
{
    return Com2Btn->isChecked() ? kCom2 : kCom1;
}

void TOptionsDlg::SetPortText(const QString &text)
{
    (text == kCom2 ? Com2Btn : Com1Btn)->setChecked(true);
}

void TOptionsDlg::SaveBtnClick()
{
    PrivateProfile profile(TolmSettings::SettingsFilePath());
    const std::array<std::pair<QString, QString>, 3> entries{{
        {TolmSettings::kPicDeviceKey, DeviceSelectOpt->currentText()},
        {TolmSettings::kModulePortKey, PortText()},
        {TolmSettings::kWorkingDirKey, WorkingDirEdit->text()},
    }};
    for (const auto &[key, value] : entries) {
        if (!profile.WriteString(TolmSettings::kSection, key, value)) {
            // The keys after a failed one are left alone: the file keeps its previous values.
            const QString fileName = QFileInfo(profile.Path()).fileName();
            m_messages.Error(QStringLiteral("Unable to write to %1").arg(fileName));
            return;
        }
    }
}

void TOptionsDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    OKBtn->setFocus();
}
