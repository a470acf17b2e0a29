#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>

// Grid position of an image cell: the column is address mod 16 + 1 and the row
// address div 16 + 1, leaving row 0 and column 0 for the headers.
struct CellPosition
{
    int column = 0;
    int row = 0;
    bool operator==(const CellPosition &) const = default;
};
CellPosition ProgramCell(uint16_t address);
CellPosition DataCell(uint16_t address);

// The one copy of the chip's contents that every operation works on. Cells hold text
// exactly as it was stored (a word loaded as "3fff" stays "3fff"); whoever needs a number
// parses the text when it uses it.
class MemoryImage : public QObject
{
    Q_OBJECT
public:
    static constexpr int kProgramWords = 8192;
    static constexpr int kDataBytes = 256;

    explicit MemoryImage(QObject *parent = nullptr);

    // Reads outside the image give an empty text; writes outside it are ignored.
    QString GetProgramWordText(int address) const;
    void SetProgramWordText(int address, const QString &text);
    QString GetDataByteText(int address) const;
    void SetDataByteText(int address, const QString &text);

    void FillProgramImage(const QString &text);
    void FillDataImage(const QString &text);

    uint16_t ConfigWord = 0;
    // The second configuration word of the parts that have one (16F88X: 2008); erased, it
    // reads 3FFF.
    uint16_t SecondConfigWord = 0x3FFF;
    QString IDCodeText = QStringLiteral("FFFF");

signals:
    void programCellChanged(int address);
    void dataCellChanged(int address);
    void programImageFilled();
    void dataImageFilled();

private:
    std::array<QString, kProgramWords> m_program;
    std::array<QString, kDataBytes> m_data;
};
