// Typing into the data editor as into a spreadsheet: digits run on from cell to cell,
// arrow keys move between cells, and the window grows to show more rows.
#include "device/MemoryImage.h"
#include "editors/ByteCellDelegate.h"
#include "editors/DatEditF.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

class DataEditorTypingTest : public QObject
{
    Q_OBJECT
private:
    static QLineEdit *CellEditor(TDataEditForm &form)
    {
        return qobject_cast<QLineEdit *>(
            form.DMemEditSG->indexWidget(form.DMemEditSG->currentIndex()));
    }
    static void Select(TDataEditForm &form, int row, int column)
    {
        form.DMemEditSG->setCurrentIndex(form.DMemEditSG->model()->index(row, column));
    }

private slots:
    // Each pair of digits fills one cell from its first place and moves on; a row's end
    // goes on at the next row's start, and the grid's last cell stays put.
    void digitsRunFromCellToCell_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("bytes"); // from `start` on
        QTest::addColumn<int>("endsAt");        // address of the current cell afterwards
        QTest::newRow("four bytes")
            << 0x00 << "12345678" << QStringList{"12", "34", "56", "78"} << 0x04;
        QTest::newRow("over a row's end") << 0x1F << "a1b2" << QStringList{"A1", "B2"} << 0x21;
        QTest::newRow("odd digit waits") << 0x40 << "123" << QStringList{"12", "3 "} << 0x41;
        QTest::newRow("last cell stays") << 0xFF << "c4" << QStringList{"C4"} << 0xFF;
    }
    void digitsRunFromCellToCell()
    {
        QFETCH(int, start);
        QFETCH(QString, typed);
        QFETCH(QStringList, bytes);
        QFETCH(int, endsAt);
        MemoryImage image;
        TDataEditForm form(image);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Select(form, start / 16, start % 16);
        for (const QChar ch : typed) {
            QLineEdit *editor = CellEditor(form);
            QVERIFY(editor);
            QTest::keyClick(editor, ch.toLatin1());
        }
        for (int i = 0; i < bytes.size(); ++i)
            QCOMPARE(image.GetDataByteText(start + i), bytes[i]);
        const QModelIndex current = form.DMemEditSG->currentIndex();
        QCOMPARE(current.row() * 16 + current.column(), endsAt);
        QVERIFY(CellEditor(form));
    }

    // Arrow keys always move the grid's selection, whatever the caret's place; the cell left
    // with one digit typed is completed.
    void arrowsMoveBetweenCells_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("typedDigits");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("left");
        QTest::newRow("Right") << int(Qt::Key_Right) << 0 << 5 << 6 << "FF";
        QTest::newRow("Left") << int(Qt::Key_Left) << 0 << 5 << 4 << "FF";
        QTest::newRow("Up") << int(Qt::Key_Up) << 0 << 4 << 5 << "FF";
        QTest::newRow("Down") << int(Qt::Key_Down) << 0 << 6 << 5 << "FF";
        QTest::newRow("Right after one digit") << int(Qt::Key_Right) << 1 << 5 << 6 << "07";
        QTest::newRow("Left after one digit") << int(Qt::Key_Left) << 1 << 5 << 4 << "07";
    }
    void arrowsMoveBetweenCells()
    {
        QFETCH(int, key);
        QFETCH(int, typedDigits);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, left);
        MemoryImage image;
        TDataEditForm form(image);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Select(form, 5, 5);
        if (typedDigits > 0)
            QTest::keyClick(CellEditor(form), '7');
        QTest::keyClick(CellEditor(form), Qt::Key(key));
        QCOMPARE(form.DMemEditSG->currentIndex(), form.DMemEditSG->model()->index(row, column));
        QCOMPARE(image.GetDataByteText(0x55), left);
        // The new cell's editor is open with the focus, ready for the next digits.
        QLineEdit *editor = CellEditor(form);
        QVERIFY(editor);
        QCOMPARE(QApplication::focusWidget(), editor);
    }

    void windowKeepsItsSizeAndGrowsTaller()
    {
        MemoryImage image;
        TDataEditForm form(image);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QSize initial = form.size();
        QCOMPARE(form.minimumSize(), initial);
        QCOMPARE(form.maximumWidth(), initial.width());
        QVERIFY(form.maximumHeight() > 3 * initial.height());

        form.resize(initial.width(), form.maximumHeight());
        QTRY_COMPARE(form.height(), form.maximumHeight());
        // All sixteen rows fit: nothing is left to scroll.
        QTRY_COMPARE(form.DMemEditSG->verticalScrollBar()->maximum(), 0);
        form.resize(initial.width() / 2, initial.height() / 2);
        QCOMPARE(form.size(), initial);
    }

    void screenshotEnlarged()
    {
        const QString dir = qEnvironmentVariable("TOLM_GUI_SHOTS");
        if (dir.isEmpty())
            QSKIP("set TOLM_GUI_SHOTS to a folder to save a picture of the enlarged window");
        MemoryImage image;
        TDataEditForm form(image);
        for (int a = 0; a < 0x40; ++a)
            image.SetDataByteText(a, QStringLiteral("%1").arg(a, 2, 16, QChar(u'0')).toUpper());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.resize(form.width(), form.maximumHeight());
        Select(form, 3, 4);
        QTest::keyClick(CellEditor(form), '9');
        QTest::qWait(50);
        QVERIFY(form.grab().save(dir + QStringLiteral("/data-editor-enlarged.png")));
    }
};

QTEST_MAIN(DataEditorTypingTest)
#include "DataEditorTypingTest.moc"
