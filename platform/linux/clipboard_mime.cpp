#include "platform/linux/clipboard_mime.h"

#include "platform/pasteboard.h"

namespace vt::ClipboardMime {

bool isMetaTarget(const QByteArray& target) {
    static const QList<QByteArray> meta = {
        "TARGETS",          "MULTIPLE",        "TIMESTAMP", "SAVE_TARGETS", "DELETE",
        "INSERT_SELECTION", "INSERT_PROPERTY", "INCR",      "ATOM_PAIR",    "TARGET_SIZES",
        "_QT_SELECTION",    "CLIPBOARD",       "PRIMARY"};
    return meta.contains(target);
}

bool hintConceals(const QByteArray& value) {
    QByteArray v = value;
    v.replace('\0', QByteArray());
    v = v.trimmed().toLower();
    return v.isEmpty() || v == "secret";
}

int textRank(const QByteArray& target) {
    if (target == "UTF8_STRING") return 5;
    if (target == "text/plain;charset=utf-8") return 4;
    if (target == "text/plain") return 3;
    if (target == "STRING") return 2;
    if (target == "TEXT") return 1;
    return 0;
}

std::optional<QString> typeForTarget(const QByteArray& target) {
    if (target.isEmpty() || isMetaTarget(target) || target == passwordHint) return std::nullopt;
    if (textRank(target) > 0) return PasteboardType::plainText;
    if (target == "image/png") return PasteboardType::png;
    if (target == "image/tiff") return PasteboardType::tiff;
    if (target == "text/uri-list") return PasteboardType::fileURL;
    return QString::fromLatin1(target);
}

QString decodeText(const QByteArray& bytes, const QByteArray& target) {
    QByteArray b = bytes;
    // Some owners include the C string terminator in the property.
    while (b.endsWith('\0'))
        b.chop(1);
    return target == "STRING" ? QString::fromLatin1(b) : QString::fromUtf8(b);
}

QString mimeForType(const QString& type) {
    if (type == PasteboardType::plainText) return QStringLiteral("text/plain");
    if (type == PasteboardType::png) return QStringLiteral("image/png");
    if (type == PasteboardType::tiff) return QStringLiteral("image/tiff");
    if (type == PasteboardType::fileURL) return QStringLiteral("text/uri-list");
    return type;
}

QList<QUrl> fileURLsFromUriList(const QByteArray& list) {
    QList<QUrl> urls;
    const QList<QByteArray> lines = list.split('\n');
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QUrl url = QUrl::fromEncoded(line, QUrl::StrictMode);
        // One broken line makes the whole list suspect: better no files item than a wrong one.
        if (!url.isValid() || url.scheme().isEmpty()) return {};
        if (!url.isLocalFile()) continue;
        if (!url.host().isEmpty() && url.host() != QLatin1String("localhost")) continue;
        const QString path = url.host().isEmpty() ? url.toLocalFile() : url.path();
        if (!path.startsWith(QLatin1Char('/'))) return {};
        urls.append(QUrl::fromLocalFile(path));
    }
    return urls;
}

QByteArray uriList(const QList<QUrl>& urls) {
    QByteArray out;
    for (const QUrl& url : urls)
        out += url.toEncoded() + "\r\n";
    return out;
}

QByteArray gnomeCopiedFiles(const QList<QUrl>& urls) {
    QByteArray out = "copy";
    for (const QUrl& url : urls)
        out += '\n' + url.toEncoded();
    return out;
}

QString pathsText(const QList<QUrl>& urls) {
    QStringList paths;
    for (const QUrl& url : urls)
        paths.append(url.toLocalFile());
    return paths.join(QLatin1Char('\n'));
}

} // namespace vt::ClipboardMime
