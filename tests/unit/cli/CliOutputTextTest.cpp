// What tolm-cli prints from names it did not choose (file and port names, USB descriptors,
// log cells): nothing reaches the terminal as a control character, and nothing in a CSV
// runs as a spreadsheet formula.
#include "cli/commands/LogCommand.h"
#include "cli/commands/PortsCommand.h"
#include "cli/output/TextTable.h"

#include <gtest/gtest.h>

namespace {

TEST(CliOutputText, ControlCharactersAreShownEscapedAndCsvCellsStayText)
{
    const struct
    {
        const char *what;
        QString cell;
        const char *table; // the cell in a table line
        const char *csv;   // the cell in a CSV line
    } cases[] = {
        {"plain", "board.hex", "board.hex", "board.hex"},
        {"an escape sequence", "\x1b[31mred\x1b[0m", "\\x1b[31mred\\x1b[0m", "\x1b[31mred\x1b[0m"},
        {"a bell and a carriage return", "a\x07\rb", "a\\x07\\x0db", "\"a\x07\rb\""},
        {"a line break", "a\nport2  ok", "a\\x0aport2  ok", "\"a\nport2  ok\""},
        {"DEL and a C1 control", QStringLiteral("a\x7f") + QChar(0x9B) + "b", "a\\x7f\\x9bb",
         "a\x7f\xc2\x9b"
         "b"},
        {"a formula", "=HYPERLINK(\"x\")", "=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"a plus", "+1", "+1", "'+1"},
        {"a minus (a command line)", "-d 16f84", "-d 16f84", "'-d 16f84"},
        {"an at sign", "@SUM(A1)", "@SUM(A1)", "'@SUM(A1)"},
        {"a leading tab", "\tx", "\\x09x", "'\tx"},
        {"a leading carriage return", "\rx", "\\x0dx", "\"'\rx\""},
        {"a comma and a quote", "a,\"b\"", "a,\"b\"", "\"a,\"\"b\"\"\""},
        {"a minus inside", "a-b", "a-b", "a-b"},
        {"empty", "", "", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(AlignedTable({{c.cell, "end"}}).toUtf8().toStdString(),
                  std::string(c.table) + "  end\n")
            << c.what;
        EXPECT_EQ(CsvLine({c.cell, "end"}).toUtf8().toStdString(), std::string(c.csv) + ",end\r\n")
            << c.what;
    }
}

TEST(CliOutputText, AUsbDescriptorCannotForgeAPortRowNorALogRow)
{
    SerialPortFacts port;
    port.name = "ttyUSB0";
    port.path = "/dev/ttyUSB0";
    port.description = "FT232R\nttyUSB9  /dev/ttyUSB9";
    port.usbSerial = "\x1b]0;owned\x07";
    const QStringList lines = PortsListText({port}).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2); // the header and one port
    EXPECT_TRUE(lines[1].contains("FT232R\\x0attyUSB9")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains("\\x1b]0;owned\\x07")) << lines[1].toStdString();

    ProductionRow row;
    row.port = "/tmp/a\nb";
    row.file = "/tmp/x\r\x1b[2K.hex";
    const QStringList table = ProductionRowsText({row}, false).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(table.size(), 2);
    for (const QString &line : table)
        EXPECT_FALSE(line.contains('\r') || line.contains('\x1b')) << line.toStdString();
}

} // namespace
