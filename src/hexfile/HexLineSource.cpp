#include "HexLineSource.h"

#include <QIODevice>

namespace {

constexpr char kCtrlZ = '\x1A';
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

} // namespace

bool HexLineSource::Next(QByteArray &line)
{
    bool read = ReadLine(line);
    if (m_first && line.startsWith(kByteOrderMark)) {
        line.remove(0, 3);
        // A file of nothing but the mark is an empty file, not one with an empty line.
        read = !(line.isEmpty() && m_ended);
    }
    m_first = false;
    return read;
}

bool HexLineSource::ReadLine(QByteArray &line)
{
    line.clear();
    if (m_ended)
        return false;
    char c = 0;
    bool sawAny = false;
    while (m_source.getChar(&c)) {
        if (m_skipLineFeed) {
            m_skipLineFeed = false;
            if (c == '\n')
                continue;
        }
        sawAny = true;
        if (c == kCtrlZ) {
            m_ended = true;
            return !line.isEmpty();
        }
        if (c == '\r' || c == '\n') {
            m_skipLineFeed = c == '\r';
            return true;
        }
        line.append(c);
        if (line.size() > kLongestLine)
            return true;
    }
    m_ended = true;
    return sawAny;
}
