#include "app/appcast.h"
#include <QCoreApplication>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace vt::Appcast {

namespace {

QStringList components(const QString& version) {
    QString text = version.trimmed();
    if (text.startsWith(u'v') || text.startsWith(u'V')) text.remove(0, 1);
    return text.split(u'.');
}

// Only web addresses are offered to the browser, whatever else a feed may list.
QUrl webURL(const QString& text) {
    const QUrl url(text.trimmed());
    return url.isValid() && (url.scheme() == u"https" || url.scheme() == u"http") ? url : QUrl();
}

// Reads one <item>; the reader stands on its start element.
AppcastItem readItem(QXmlStreamReader& xml) {
    AppcastItem item;
    QUrl link;
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        // The feed's own fields live in a namespace of their own, whatever its prefix.
        const bool feedElement = !xml.namespaceUri().isEmpty();
        if (name == u"enclosure") {
            const QXmlStreamAttributes attributes = xml.attributes();
            item.downloadURL = webURL(attributes.value(QStringLiteral("url")).toString());
            for (const QXmlStreamAttribute& attribute : attributes) {
                if (attribute.namespaceUri().isEmpty()) continue;
                if (attribute.name() == u"version" && item.version.isEmpty())
                    item.version = attribute.value().toString().trimmed();
                if (attribute.name() == u"shortVersionString" && item.shortVersion.isEmpty())
                    item.shortVersion = attribute.value().toString().trimmed();
            }
            xml.skipCurrentElement();
        } else if (feedElement && name == u"version") {
            item.version = xml.readElementText().trimmed();
        } else if (feedElement && name == u"shortVersionString") {
            item.shortVersion = xml.readElementText().trimmed();
        } else if (feedElement && name == u"releaseNotesLink") {
            item.releaseNotesURL = webURL(xml.readElementText());
        } else if (name == u"title") {
            item.title = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (name == u"description") {
            item.releaseNotes =
                xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (name == u"link") {
            link = webURL(xml.readElementText());
        } else {
            xml.skipCurrentElement();
        }
    }
    // The web page is where the user downloads; a bare enclosure file is the fallback.
    if (!link.isEmpty()) item.downloadURL = link;
    return item;
}

} // namespace

bool isValidVersion(const QString& version) {
    static const QRegularExpression pattern(QStringLiteral("^[vV]?\\d{1,9}(\\.\\d{1,9})*$"));
    return pattern.match(version.trimmed()).hasMatch();
}

int compareVersions(const QString& a, const QString& b) {
    const QStringList left = components(a);
    const QStringList right = components(b);
    const qsizetype count = std::max(left.size(), right.size());
    for (qsizetype i = 0; i < count; ++i) {
        const qlonglong x = i < left.size() ? left[i].toLongLong() : 0;
        const qlonglong y = i < right.size() ? right[i].toLongLong() : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

std::optional<std::vector<AppcastItem>> parse(const QByteArray& document, QString* error) {
    QXmlStreamReader xml(document);
    std::vector<AppcastItem> items;
    bool sawRss = false;
    int itemCount = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"rss") {
            sawRss = true;
        } else if (xml.name() == u"item" && sawRss) {
            ++itemCount;
            AppcastItem item = readItem(xml);
            if (isValidVersion(item.displayVersion())) items.push_back(std::move(item));
        }
    }
    if (xml.hasError()) {
        if (error)
            *error = QCoreApplication::translate("Vantrel", "XML の %1 行目: %2")
                         .arg(xml.lineNumber())
                         .arg(xml.errorString());
        return std::nullopt;
    }
    if (!sawRss) {
        if (error) *error = QCoreApplication::translate("Vantrel", "RSS ではありません");
        return std::nullopt;
    }
    if (itemCount > 0 && items.empty()) {
        if (error) *error = QCoreApplication::translate("Vantrel", "版の番号を読めませんでした");
        return std::nullopt;
    }
    return items;
}

std::optional<AppcastItem> bestUpdate(const std::vector<AppcastItem>& items,
                                      const QString& currentVersion) {
    if (!isValidVersion(currentVersion)) return std::nullopt;
    std::optional<AppcastItem> best;
    for (const AppcastItem& item : items) {
        const QString version = item.displayVersion();
        if (!isValidVersion(version) || compareVersions(version, currentVersion) <= 0) continue;
        if (!best || compareVersions(version, best->displayVersion()) > 0) best = item;
    }
    return best;
}

} // namespace vt::Appcast
