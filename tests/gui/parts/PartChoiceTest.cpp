// The device selector with every part of the catalogue (finding a part by typing, the marks of
// parts not yet confirmed on hardware and of the user's own), and the controls a part's own
// configuration fields get.
#include "ScriptedMessages.h"
#include "app/ConfigurationPart.h"
#include "app/DeviceChoice.h"
#include "app/PartMarks.h"
#include "device/MemoryImage.h"
#include "device/catalogue/Catalogue.h"
#include "device/catalogue/PartDefinition.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

template <typename T> T *Control(QWidget *under, const QString &name)
{
    return under->findChild<T *>(name);
}

const QStringList kNames = {"16c62", "16c62A", "16f84", "16f84a", "16f877", "16f877a", "16f887"};

} // namespace

class PartChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    // The user's own 16c54 replaces the shipped one, before the catalogue is first read.
    void initTestCase()
    {
        QVERIFY(m_data.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path()));
        QVERIFY(QDir().mkpath(m_data.filePath(QStringLiteral("tolm/devices"))));
        QVERIFY(QFile::copy(ShippedPartsFolder() + QStringLiteral("/16c54.toml"),
                            m_data.filePath(QStringLiteral("tolm/devices/16c54.toml"))));
    }

    void partNamedBy_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("named"); // empty: none
        QTest::newRow("the name") << "16f84"
                                  << "16f84";
        QTest::newRow("the name before a longer one") << "16c62"
                                                      << "16c62";
        QTest::newRow("another case: the stored name") << "16C62a"
                                                       << "16c62A";
        QTest::newRow("the only part holding it") << "877A"
                                                  << "16f877a";
        QTest::newRow("blanks around") << " 887 "
                                       << "16f887";
        QTest::newRow("several hold it") << "877"
                                         << "";
        QTest::newRow("none holds it") << "18f452"
                                       << "";
        QTest::newRow("nothing typed") << ""
                                       << "";
    }

    // What Enter on typed text picks: never a part the text does not name alone.
    void partNamedBy()
    {
        QFETCH(QString, typed);
        QFETCH(QString, named);
        QCOMPARE(PartNamedBy(kNames, typed).value_or(QString()), named);
    }

    void marks_data()
    {
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<bool>("userFile");
        QTest::addColumn<bool>("overrides");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QString>("named"); // the file the hint names, if any
        QTest::newRow("shipped, confirmed") << true << false << false << false << "";
        QTest::newRow("shipped, not confirmed") << false << false << false << true << "";
        QTest::newRow("user's own part") << true << true << false << true << "mine.toml";
        QTest::newRow("user's override") << true << true << true << true << "mine.toml";
    }

    void marks()
    {
        QFETCH(bool, confirmed);
        QFETCH(bool, userFile);
        QFETCH(bool, overrides);
        QFETCH(QString, named);
        PartDefinition part;
        part.name = QStringLiteral("16f84");
        part.confirmedOnHardware = confirmed;
        part.source.userFile = userFile;
        part.source.file = QStringLiteral("/home/u/.local/share/tolm/devices/mine.toml");
        part.overridesShipped = overrides;
        const PartMarks marks = MarksOf(part);
        QTEST(marks.Any(), "marked");
        QTEST(!MarkText(marks).isEmpty(), "marked");
        QCOMPARE(MarkText(marks).contains(QStringLiteral("mine.toml")), !named.isEmpty());
    }

    // Every part under its stored name; the unconfirmed ones carry a mark and a hint.
    void selectorHoldsEveryPart_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<bool>("marked");
        QTest::newRow("16f84: confirmed") << "16f84" << false;
        QTest::newRow("16c62A: the old name kept") << "16c62A" << false;
        QTest::newRow("16f877a: not yet confirmed") << "16f877a" << true;
        QTest::newRow("12f675: not yet confirmed") << "12f675" << true;
        QTest::newRow("16c54: the user's file replaces it") << "16c54" << true;
    }

    void selectorHoldsEveryPart()
    {
        QFETCH(QString, part);
        QFETCH(bool, marked);
        DeviceChoice choice;
        auto *selector = qobject_cast<QComboBox *>(choice.Selector());
        QCOMPARE(selector->count(), 53);
        const int index = selector->findText(part, Qt::MatchExactly | Qt::MatchCaseSensitive);
        QVERIFY(index >= 0);
        QCOMPARE(!selector->itemIcon(index).isNull(), marked);
        QCOMPARE(!selector->itemData(index, Qt::ToolTipRole).toString().isEmpty(), marked);
        QVERIFY(choice.Select(part));
        QCOMPARE(choice.SelectorText(), part);
        QCOMPARE(selector->toolTip().contains(QLatin1Char('\n')), marked);
        QCOMPARE(selector->toolTip().contains(QStringLiteral("16c54.toml")), part == "16c54");
    }

    void typingFindsAPart_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("picks");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Enter on the only match")
            << "877a" << int(Qt::Key_Return) << "16f877a" << 1 << "16f877a";
        QTest::newRow("Enter on a name in another case")
            << "16C62A" << int(Qt::Key_Enter) << "16c62A" << 1 << "16c62A";
        QTest::newRow("Enter on several: the text stays to be mended")
            << "88" << int(Qt::Key_Return) << "16f84" << 0 << "88";
        QTest::newRow("Enter on none") << "18f" << int(Qt::Key_Return) << "16f84" << 0 << "18f";
        QTest::newRow("Escape: the part stays")
            << "877a" << int(Qt::Key_Escape) << "16f84" << 0 << "16f84";
    }

    // Typing never changes the part by itself: only a pick does, and a pick is one change.
    void typingFindsAPart()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        DeviceChoice choice;
        QVERIFY(choice.Select("16f84"));
        const QSignalSpy picked(&choice, &DeviceChoice::DeviceSelectorChange);
        QLineEdit *edit = qobject_cast<QComboBox *>(choice.Selector())->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QCOMPARE(picked.count(), 0);
        QCOMPARE(choice.SelectorText(), QStringLiteral("16f84"));
        QTest::keyClick(edit, Qt::Key(key));
        QTEST(int(picked.count()), "picks");
        QTEST(choice.SelectorText(), "selected");
        QTEST(edit->text(), "shown");
    }

    void ownFieldControls_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QStringList>("controls");
        QTest::newRow("16f84: none") << "16f84" << QStringList{};
        QTest::newRow("16f877: none") << "16f877" << QStringList{};
        QTest::newRow("12f675: none") << "12f675" << QStringList{};
        QTest::newRow("16f877a: write protection") << "16f877a" << QStringList{"WRTBox"};
        QTest::newRow("16f887: both words")
            << "16f887" << QStringList{"BORENBox", "IESOCbx", "FCMENCbx", "WRT2Box", "BOR4V2Box"};
    }

    // A part's own fields get controls named after them; a part without any shows no group,
    // and nothing of the part picked before stays.
    void ownFieldControls()
    {
        QFETCH(QString, part);
        QFETCH(QStringList, controls);
        MemoryImage image;
        DeviceChoice choice;
        ConfigurationPart config(image, choice.Current());
        for (const QString &name : {QStringLiteral("16f887"), part}) {
            QVERIFY(choice.Select(name));
            config.AdaptToDevice();
        }
        QWidget *group = config.OwnFieldsGroup();
        QCOMPARE(!group->isHidden(), !controls.isEmpty());
        QStringList found;
        for (const QWidget *w : group->findChildren<QWidget *>()) {
            if (qobject_cast<const QComboBox *>(w) || qobject_cast<const QCheckBox *>(w))
                found << w->objectName();
        }
        QCOMPARE(found, controls);
    }

    void ownFieldsCarryTheWords_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("value"); // list index, or 0/1 for a check box
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        // 16f887 from an erased chip: every field at its blank value, the oscillator list
        // at RC Clockout, protection None.
        QTest::newRow("unchanged") << "" << 0 << 0x3FFF << 0x3FFF;
        QTest::newRow("BOREN off") << "BORENBox" << 0 << 0x3CFF << 0x3FFF;
        QTest::newRow("IESO off") << "IESOCbx" << 0 << 0x3BFF << 0x3FFF;
        QTest::newRow("WRT 0000-07FF") << "WRT2Box" << 1 << 0x3FFF << 0x3BFF;
        QTest::newRow("BOR4V 2.1V") << "BOR4V2Box" << 0 << 0x3FFF << 0x3EFF;
    }

    // Each control changes its own field's bits in its own word, and reading the words back
    // shows the same choice.
    void ownFieldsCarryTheWords()
    {
        QFETCH(QString, control);
        QFETCH(int, value);
        MemoryImage image;
        DeviceChoice choice;
        ConfigurationPart config(image, choice.Current());
        QVERIFY(choice.Select("16f887"));
        config.AdaptToDevice();
        image.ConfigWord = 0x3FFF;
        config.ConfigToControls();
        QWidget *group = config.OwnFieldsGroup();
        if (auto *list = Control<QComboBox>(group, control))
            list->setCurrentIndex(value);
        if (auto *box = Control<QCheckBox>(group, control))
            box->setChecked(value != 0);
        QTEST(int(config.ControlsToConfig()), "first");
        QTEST(int(config.SecondWordFromControls()), "second");

        // Back from the words: the same word again.
        const std::uint16_t first = image.ConfigWord;
        image.ConfigWord = 0x3FFF;
        config.ConfigToControls();
        image.ConfigWord = first;
        config.ConfigToControls();
        QCOMPARE(config.WordFromControls(), first);
    }

private:
    QTemporaryDir m_data;
};

QTEST_MAIN(PartChoiceTest)
#include "PartChoiceTest.moc"
