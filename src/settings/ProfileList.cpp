#include "ProfileList.h"

#include "PrivateProfile.h"

namespace {

QStringList Keys(const QString &keyPattern, int maxItems)
{
    QStringList keys;
    for (int i = 1; i <= maxItems; ++i)
        keys << keyPattern.arg(i);
    return keys;
}

} // namespace

QStringList ReadProfileList(const PrivateProfile &profile, const QString &section,
                            const QString &keyPattern, int maxItems)
{
    QStringList items;
    for (const QString &value :
         profile.ReadStrings(section, Keys(keyPattern, maxItems), QString())) {
        if (!value.isEmpty() && !items.contains(value))
            items << value;
    }
    return items;
}

bool WriteProfileList(PrivateProfile &profile, const QString &section, const QString &keyPattern,
                      const QStringList &items, int maxItems)
{
    const QStringList keys = Keys(keyPattern, maxItems);
    const QStringList stored = profile.ReadStrings(section, keys, QString());
    QList<PrivateProfile::KeyValue> changed;
    for (int i = 0; i < maxItems; ++i) {
        const QString value = items.value(i);
        // A key that already holds the value is left alone, so that a list that has not
        // changed leaves the file as it is, and a file that never had empty keys gets none.
        if (stored[i] != value)
            changed.append({keys[i], value});
    }
    return changed.isEmpty() || profile.WriteStrings(section, changed);
}

QStringList WithItemFirst(QStringList items, const QString &item, int maxItems)
{
    items.removeAll(item);
    items.prepend(item);
    while (items.size() > maxItems)
        items.removeLast();
    return items;
}
