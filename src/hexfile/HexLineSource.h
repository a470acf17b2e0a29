#pragma once

#include <QByteArray>

class QIODevice;

// Splits a hex file into lines. Assemblers on Linux end lines with LF alone, older tools
// with CR LF or CR: each of them ends a line. Ctrl-Z marks the end of the file, as it did
// for the tools that first wrote this format. A UTF-8 byte-order mark, which editors put in
// front of a file, is not part of the first line.
class HexLineSource
{
public:
    // Lines are cut here, which is long enough for the longest record with blanks around it
    // and makes a longer line fail without holding a runaway line (/dev/zero) in memory.
    static constexpr qsizetype kLongestLine = 1024;

    explicit HexLineSource(QIODevice &source) : m_source(source) {}

    // The next line without its line end; false at the end of the file.
    bool Next(QByteArray &line);

private:
    bool ReadLine(QByteArray &line);

    QIODevice &m_source;
    bool m_skipLineFeed = false;
    bool m_ended = false;
    bool m_first = true;
};
