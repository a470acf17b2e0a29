#pragma once

#include <QString>
#include <QStringList>

class PrivateProfile;

// A short list kept in a section of its own, one key per item: File1=..., File2=... The key
// pattern holds %1 for the item's number, from 1. Empty values are no items, so a list that
// shrinks writes its unused keys empty rather than needing to delete lines.

QStringList ReadProfileList(const PrivateProfile &profile, const QString &section,
                            const QString &keyPattern, int maxItems);

// Sets every key from 1 to maxItems, in one replacement of the file and only when one of them
// changes; false when the write failed (the file is then as it was).
bool WriteProfileList(PrivateProfile &profile, const QString &section, const QString &keyPattern,
                      const QStringList &items, int maxItems);

// The list with `item` put first, an earlier copy dropped, cut to maxItems.
QStringList WithItemFirst(QStringList items, const QString &item, int maxItems);
