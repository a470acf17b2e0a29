#include "device/MemoryImage.h"
#include "editors/ByteCellDelegate.h"
#include "editors/DatEditF.h"
#include "editors/DataCellInput.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QtTest>

namespace {

QStringList DataCells(const MemoryImage &image)
{
    QStringList cells;
    for (int a = 0; a < MemoryImage::kDataBytes; ++a)
        cells << image.GetDataByteText(a);
    return cells;
}

} // namespace

class DataEditorTest : public QObject
{
    Q_OBJECT
private:
    // The open cell editor of the grid's current cell.
    static QLineEdit *CellEditor(TDataEditForm &form)
    {
        return qobject_cast<QLineEdit *>(
            form.DMemEditSG->indexWidget(form.DMemEditSG->currentIndex()));
    }

private slots:
    void shapeByte_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shaped");
        QTest::newRow("digit in first place") << "5 "
                                              << "05";
        QTest::newRow("digit in second place") << " 5"
                                               << "05";
        QTest::newRow("nothing typed") << "  "
                                       << "00";
        QTest::newRow("full byte unchanged") << "AB"
                                             << "AB";
        QTest::newRow("case kept") << "ab"
                                   << "ab";
        QTest::newRow("short text") << "7"
                                    << "07";
        QTest::newRow("empty text") << ""
                                    << "00";
    }
    void shapeByte()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shaped);
        QCOMPARE(ShapeByte(typed), shaped);
    }

    void createdWithFFAndHeaders()
    {
        MemoryImage image;
        image.FillDataImage(QStringLiteral("12"));
        TDataEditForm form(image);
        QCOMPARE(form.windowTitle(), QStringLiteral("Data Memory Editor"));
        QCOMPARE(DataCells(image), QStringList(256, QStringLiteral("FF")));
        QAbstractItemModel *model = form.DMemEditSG->model();
        QCOMPARE(model->rowCount(), 16);
        QCOMPARE(model->columnCount(), 16);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral(" 0"));
        QCOMPARE(model->headerData(15, Qt::Horizontal).toString(), QStringLiteral(" F"));
        QCOMPARE(model->headerData(0, Qt::Vertical).toString(), QStringLiteral("00"));
        QCOMPARE(model->headerData(15, Qt::Vertical).toString(), QStringLiteral("F0"));
        QCOMPARE(form.RememberedCell(), (CellPosition{1, 1}));
    }

    // Keys typed into a cell, what it shows meanwhile, and what it holds once the user moves
    // to the next row.
    void typing_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("caret"); // -1: where the cell's editor puts it
        QTest::addColumn<QTestEventList>("keys");
        QTest::addColumn<QString>("whileTyping");
        QTest::addColumn<QString>("afterLeaving");
        QTestEventList ab;
        ab.addKeyClicks(QStringLiteral("ab"));
        QTest::newRow("a b shows AB") << 0 << -1 << ab << "AB"
                                      << "AB";
        QTestEventList five;
        five.addKeyClick(Qt::Key_5);
        QTest::newRow("5 in first place") << 0x3F << -1 << five << "5 "
                                          << "05";
        // Arrow keys leave the cell, so only the mouse puts the caret on the second place;
        // that digit completes the byte, which is shaped as the editor moves on.
        QTestEventList second;
        second.addKeyClick(Qt::Key_5);
        QTest::newRow("5 in second place") << 0x21 << 1 << second << "05"
                                           << "05";
        QTestEventList rejected;
        rejected.addKeyClicks(QStringLiteral("g z-"));
        rejected.addKeyClick(Qt::Key_Backspace);
        rejected.addKeyClick(Qt::Key_Escape);
        rejected.addKeyClick(Qt::Key_Return);
        QTest::newRow("non-hex keys discarded") << 0x10 << -1 << rejected << "FF"
                                                << "FF";
        QTestEventList mixed;
        mixed.addKeyClicks(QStringLiteral("x1y"));
        QTest::newRow("only the digit counts") << 0xF0 << -1 << mixed << "1 "
                                               << "01";
        QTestEventList cleared;
        cleared.addKeyClick(Qt::Key_Delete);
        QTest::newRow("blanked byte") << 0x05 << -1 << cleared << "  "
                                      << "00";
    }
    void typing()
    {
        QFETCH(int, address);
        QFETCH(int, caret);
        QFETCH(QTestEventList, keys);
        QFETCH(QString, whileTyping);
        QFETCH(QString, afterLeaving);
        MemoryImage image;
        TDataEditForm form(image);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.DMemEditSG->setCurrentIndex(
            form.DMemEditSG->model()->index(address / 16, address % 16));
        QLineEdit *editor = CellEditor(form);
        QVERIFY(editor);
        if (caret >= 0) {
            // A first place left blank, as Delete leaves it.
            editor->deselect();
            editor->setCursorPosition(0);
            QTest::keyClick(editor, Qt::Key_Delete);
            editor->setCursorPosition(caret);
        }
        QSignalSpy writes(&image, &MemoryImage::dataCellChanged);

        keys.simulate(editor);
        QCOMPARE(image.GetDataByteText(address), whileTyping);
        if (caret < 0)
            QCOMPARE(ByteCellDelegate::CellText(editor), whileTyping);
        for (const QList<QVariant> &write : writes)
            QCOMPARE(write.at(0).toInt(), address);

        // Arrow keys leave the cell editor for the grid, which moves to the next row.
        QTest::keyClick(CellEditor(form), address >= 0xF0 ? Qt::Key_Up : Qt::Key_Down);
        QVERIFY(form.DMemEditSG->currentIndex().row() != address / 16);
        QCOMPARE(image.GetDataByteText(address), afterLeaving);
        QStringList expected(256, QStringLiteral("FF"));
        expected[address] = afterLeaving;
        QCOMPARE(DataCells(image), expected);
    }

    void nonHexTextNeverReachesACell()
    {
        MemoryImage image;
        TDataEditForm form(image);
        QAbstractItemModel *model = form.DMemEditSG->model();
        QVERIFY(!model->setData(model->index(0, 0), QStringLiteral("G1")));
        QVERIFY(!model->setData(model->index(0, 0), QStringLiteral("123")));
        QVERIFY(model->setData(model->index(0, 0), QStringLiteral("a ")));
        QCOMPARE(image.GetDataByteText(0), QStringLiteral("a "));
    }

    void fills_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("value");
        QTest::newRow("Clear 00") << "Clear00"
                                  << "Clear 00"
                                  << "00";
        QTest::newRow("Set FF") << "SetFF"
                                << "Set    FF"
                                << "FF";
    }
    void fills()
    {
        QFETCH(QString, item);
        QFETCH(QString, caption);
        QFETCH(QString, value);
        MemoryImage image;
        TDataEditForm form(image);
        form.show();
        image.FillDataImage(QStringLiteral("5A"));
        form.DMemEditSG->setCurrentIndex(form.DMemEditSG->model()->index(2, 3));
        QCOMPARE(form.RememberedCell(), (CellPosition{4, 3}));
        QAction *action = form.findChild<QAction *>(item);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        action->trigger();
        QCOMPARE(DataCells(image), QStringList(256, value));
        QCOMPARE(form.RememberedCell(), (CellPosition{1, 1}));
        QCOMPARE(form.DMemEditSG->model()->index(2, 3).data().toString(), value);
        QCOMPARE(ByteCellDelegate::CellText(CellEditor(form)), value);
    }

    // Moving through cells the user does not type into leaves their text as stored (a byte
    // loaded as "3f" stays "3f"); a byte half typed after a fill is still completed when the
    // selection leaves it, although the fill reset the remembered cell.
    void leavingACell_data()
    {
        QTest::addColumn<bool>("fillFirst");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        QTest::newRow("lower case passed over") << false << ""
                                                << "3f";
        QTest::newRow("half typed after a fill") << true << "5"
                                                 << "05";
    }
    void leavingACell()
    {
        QFETCH(bool, fillFirst);
        QFETCH(QString, typed);
        QFETCH(QString, left);
        MemoryImage image;
        TDataEditForm form(image);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QAbstractItemModel *model = form.DMemEditSG->model();
        form.DMemEditSG->setCurrentIndex(model->index(1, 2));
        if (fillFirst)
            form.Clear00->trigger();
        else
            image.SetDataByteText(0x12, QStringLiteral("3f"));
        QTest::keyClicks(CellEditor(form), typed);
        QTest::keyClick(CellEditor(form), Qt::Key_Down);
        QCOMPARE(form.DMemEditSG->currentIndex(), model->index(2, 2));
        QCOMPARE(image.GetDataByteText(0x12), left);
    }

    // Right-clicking the cell being typed into opens the grid's menu, not the line edit's.
    void popupMenuOverTheCellEditor()
    {
        MemoryImage image;
        TDataEditForm form(image);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QLineEdit *editor = CellEditor(form);
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2),
                                editor->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(editor, &click);
        QTRY_VERIFY(form.DataPopupMenu->isVisible());
        form.DataPopupMenu->close();
    }

    void imageChangesShowAtOnce()
    {
        MemoryImage image;
        TDataEditForm form(image);
        image.SetDataByteText(0x3F, QStringLiteral("c3"));
        QCOMPARE(form.DMemEditSG->model()->index(3, 15).data().toString(), QStringLiteral("c3"));
    }

    void closingHidesAndKeepsBytes()
    {
        MemoryImage image;
        TDataEditForm form(image);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::keyClicks(CellEditor(form), QStringLiteral("7e"));
        QVERIFY(form.close());
        QVERIFY(!form.isVisible());
        form.show();
        QCOMPARE(image.GetDataByteText(0), QStringLiteral("7E"));
        // The second digit moved the editor on to the next cell, which opens again.
        QCOMPARE(form.DMemEditSG->currentIndex(), form.DMemEditSG->model()->index(0, 1));
        QCOMPARE(ByteCellDelegate::CellText(CellEditor(form)), QStringLiteral("FF"));
    }

    void screenshot()
    {
        const QString dir = qEnvironmentVariable("TOLM_GUI_SHOTS");
        if (dir.isEmpty())
            QSKIP("set TOLM_GUI_SHOTS to a folder to save a picture of the window");
        MemoryImage image;
        TDataEditForm form(image);
        image.SetDataByteText(0x12, QStringLiteral("A5"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.grab().save(dir + QStringLiteral("/data-editor.png")));
    }

    // Typed bytes and fills are taken back and done again step by step; the two digits of a
    // byte are one step; a change from elsewhere (a file, a chip read) starts afresh.
    void undoAndRedo()
    {
        MemoryImage image;
        TDataEditForm form(image);
        QAbstractItemModel *grid = form.DMemEditSG->model();
        grid->setData(grid->index(0, 0), QStringLiteral("1 "), Qt::EditRole);
        grid->setData(grid->index(0, 0), QStringLiteral("12"), Qt::EditRole);
        form.Clear00->trigger();
        QCOMPARE(image.GetDataByteText(1), QStringLiteral("00"));

        const std::pair<QAction *, QString> steps[] = {{form.UndoAction, "12"},
                                                       {form.UndoAction, "FF"},
                                                       {form.RedoAction, "12"},
                                                       {form.RedoAction, "00"},
                                                       {form.UndoAction, "12"}};
        for (const auto &[action, cell0] : steps) {
            action->trigger();
            QCOMPARE(image.GetDataByteText(0), cell0);
        }
        QCOMPARE(image.GetDataByteText(1), QStringLiteral("FF"));
        form.SetEditable(false); // chip work: no step taken back under it
        form.UndoAction->trigger();
        QCOMPARE(image.GetDataByteText(0), QStringLiteral("12"));
        form.SetEditable(true);
        image.SetDataByteText(5, QStringLiteral("AB"));
        QVERIFY(!form.UndoAction->isEnabled() && !form.RedoAction->isEnabled());
    }
};

QTEST_MAIN(DataEditorTest)
#include "DataEditorTest.moc"
