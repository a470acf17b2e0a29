#include "ControlFactory.h"

#include "HexEditFilter.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QShortcut>
#include <QSvgRenderer>
#include <QToolButton>

// The glyphs are compiled into this library; a static library's resources must be
// registered by name before first use, and once is enough.
static void InitGlyphResources()
{
    static bool registered = false;
    if (!registered) {
        Q_INIT_RESOURCE(glyphs);
        registered = true;
    }
}

namespace {

constexpr int kGlyphButtonSize = 28;
constexpr int kGlyphSize = 20;

// Drawn straight from the SVG, so the glyphs need no icon-engine plugin at run time.
QIcon Glyph(const QString &name, std::initializer_list<int> sides = {kGlyphSize, 2 * kGlyphSize})
{
    InitGlyphResources();
    QSvgRenderer renderer(QStringLiteral(":/glyphs/%1.svg").arg(name));
    QIcon icon;
    for (const int side : sides) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon GlyphIcon(const QString &glyph)
{
    return Glyph(glyph, {16, 20, 32, 40});
}

QIcon ProgramIcon()
{
    return Glyph(QStringLiteral("tolm"), {16, 24, 32, 48, 64, 128});
}

QToolButton *GlyphButton(const char *name, const QString &hint, const QString &glyph)
{
    auto *button = Named(new QToolButton, name);
    button->setText(hint);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setIcon(Glyph(glyph));
    button->setIconSize(QSize(kGlyphSize, kGlyphSize));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    button->setFixedSize(kGlyphButtonSize, kGlyphButtonSize);
    return button;
}

void GiveShortcut(QWidget &window, QToolButton *button, const QKeySequence &keys)
{
    // A button's own shortcut works only while the button is shown, that is on its page; the
    // window's works on every page.
    auto *shortcut = new QShortcut(keys, &window);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled())
            button->click();
    });
    // The accessible name keeps the plain caption; only the hint names the key.
    button->setToolTip(QStringLiteral("%1 (%2)").arg(button->accessibleName(),
                                                     keys.toString(QKeySequence::NativeText)));
}

QCheckBox *CheckBox(const char *name, const QString &caption)
{
    return Named(new QCheckBox(caption), name);
}

QRadioButton *RadioButton(const char *name, const QString &caption)
{
    return Named(new QRadioButton(caption), name);
}

QGroupBox *Group(const char *name, const QString &title)
{
    return Named(new QGroupBox(title), name);
}

QLineEdit *HexEdit(const char *name, int digits, bool upperCase)
{
    auto *edit = Named(new QLineEdit, name);
    SetupHexEdit(edit, digits, upperCase);
    return edit;
}

QHBoxLayout *Row(std::initializer_list<QWidget *> widgets)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    for (QWidget *w : widgets)
        row->addWidget(w);
    row->addStretch();
    return row;
}
