#include "ProfileList.h"

#include "PrivateProfile.h"

QStringList ReadProfileList(const PrivateProfile &profile, const QString &section,
                            const QString &keyPattern, int maxItems)
{
    QStringList items;
    for (int i = 1; i <= maxItems; ++i) {
        const QString value = profile.ReadString(section, keyPattern.arg(i), QString());
        if (!value.isEmpty() && !items.contains(value))
            items << value;
    }
    return items;
}

bool WriteProfileList(PrivateProfile &profile, const QString &section, const QString &keyPattern,
                      const QStringList &items, int maxItems)
{
    for (int i = 1; i <= maxItems; ++i) {
        const QString value = i <= items.size() ? items[i - 1] : QString();
        // A key that already holds the value is left alone: no rewrite of the whole file, and
        // no empty keys in a file that never had them.
        if (profile.ReadString(section, keyPattern.arg(i), QString()) == value)
            continue;
        if (!profile.WriteString(section, keyPattern.arg(i), value))
            return false;
    }
    return true;
}

QStringList WithItemFirst(QStringList items, const QString &item, int maxItems)
{
    items.removeAll(item);
    items.prepend(item);
    while (items.size() > maxItems)
        items.removeLast();
    return items;
}
