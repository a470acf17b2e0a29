#include "DataCellInput.h"

bool IsDataCellChar(QChar ch)
{
    return (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'F') || (ch >= u'a' && ch <= u'f');
}

QString ShapeByte(const QString &text)
{
    const QChar blank = u' ';
    QChar first = text.size() > 0 ? text[0] : blank;
    const QChar second = text.size() > 1 ? text[1] : blank;
    if (first == blank)
        first = u'0';
    if (second == blank)
        return QString(u'0') + first;
    return QString(first) + second;
}
