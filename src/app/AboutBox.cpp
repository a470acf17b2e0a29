#include "AboutBox.h"

#include "InstallPaths.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

static void InitAboutResources()
{
    Q_INIT_RESOURCE(about);
}

namespace {

// The program icon as the box shows it: 65 x 57, drawn from our own SVG.
QPixmap ProgramIconPixmap()
{
    QSvgRenderer renderer(QStringLiteral(":/about/tolm-icon.svg"));
    QPixmap pixmap(65, 57);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QLabel *NamedLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent)
{
    InitAboutResources();
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(2);

    ProgramIcon = NamedLabel("ProgramIcon", Panel1);
    ProgramIcon->setFixedSize(65, 57);
    ProgramIcon->setPixmap(ProgramIconPixmap());
    ProductName = NamedLabel("ProductName", Panel1);
    QFont productFont = ProductName->font();
    productFont.setBold(true);
    productFont.setPointSizeF(productFont.pointSizeF() * 1.4);
    ProductName->setFont(productFont);
    Version = NamedLabel("Version", Panel1);
    AuthorLabel = NamedLabel("AuthorLabel", Panel1);
    MakerLabel = NamedLabel("MakerLabel", Panel1);
    Comments = NamedLabel("Comments", Panel1);
    EMailLabel = NamedLabel("EMailLabel", Panel1);
    WebLabel = NamedLabel("WebLabel", Panel1);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    FormCreate();
    LayOutControls();
}

// Who made it, under which licence, with which Qt, and where the guide is to be read.
void TAboutBox::FormCreate()
{
    AuthorLabel->setText(QStringLiteral("by the Tolm developers"));
    MakerLabel->setText(QStringLiteral("Free software under the GNU General Public License, "
                                       "version 3 or later (GPL-3.0-or-later)"));
    Comments->setText(QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion())));
    EMailLabel->setText(QStringLiteral("User guide: %1").arg(UserGuidePath()));
    WebLabel->setText(QStringLiteral("This program comes with ABSOLUTELY NO WARRANTY; see the "
                                     "licence for details."));
    for (QLabel *label : {MakerLabel, EMailLabel, WebLabel}) {
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse); // the path can be copied
    }
}

void TAboutBox::LayOutControls()
{
    auto *lines = new QVBoxLayout;
    for (QLabel *label :
         {ProductName, Version, AuthorLabel, MakerLabel, Comments, EMailLabel, WebLabel})
        lines->addWidget(label);

    auto *panelLayout = new QHBoxLayout(Panel1);
    panelLayout->addWidget(ProgramIcon, 0, Qt::AlignTop);
    panelLayout->addSpacing(8);
    panelLayout->addLayout(lines, 1);

    auto *boxLayout = new QVBoxLayout(this);
    boxLayout->addWidget(Panel1);
    boxLayout->addWidget(OKButton, 0, Qt::AlignHCenter);
    // Wide enough that the licence and the guide's path read in a line or two.
    setMinimumSize(420, 206);
}

void TAboutBox::SetProductName(const QString &text)
{
    ProductName->setText(text);
}

void TAboutBox::SetVersionName(const QString &text)
{
    Version->setText(text);
}
