#pragma once
// Clip records with fixed ids and dates for the history tests.
#include "history/clip_item.h"

#include <QByteArray>
#include <QString>

namespace vt::test {

// The item with the n-th fixed id of its kind (and, for text, the n-th second since 2001).
inline ClipItem fixed(ClipItem item, int n) {
    const int kind = static_cast<int>(item.kind);
    item.id = QUuid::fromString(QStringLiteral("00000000-0000-4000-%1000-%2")
                                    .arg(8 + kind, 0, 16)
                                    .arg(n, 12, 10, QChar(u'0')));
    if (item.kind == ClipItem::Kind::text)
        item.date = QDateTime::fromMSecsSinceEpoch(978307200000 + n * 1000, Qt::UTC);
    return item;
}
inline ClipItem textItem(const QString& text, int n = 0) {
    return fixed(ClipItem::makeText(text), n);
}
inline ClipItem imageItem(const QByteArray& data, int n = 0) {
    return fixed(ClipItem::makeImage(data), n);
}
inline ClipItem filesItem(const QStringList& paths, int n = 0) {
    return fixed(ClipItem::makeFiles(paths), n);
}

// 300 bytes: a fixed head and tail of 64 bytes each around a middle filled with `middle`.
inline QByteArray imageBytes(char middle, qsizetype size = 300) {
    QByteArray data(size, middle);
    for (qsizetype i = 0; i < 64 && i < size; ++i) {
        data[i] = static_cast<char>('A' + i % 26);
        data[size - 1 - i] = static_cast<char>('a' + i % 26);
    }
    return data;
}

} // namespace vt::test
