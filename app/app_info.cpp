#include "app/app_info.h"
#include "platform/log.h"
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace vt::AppInfo {

namespace {

const QString kDictionaryResource = QStringLiteral(":/vantrel/info.json");

QVariantMap loadCompiledIn() {
    QFile file(kDictionaryResource);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(vtLog) << "info dictionary missing:" << kDictionaryResource;
        return {};
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject()) qCWarning(vtLog) << "info dictionary is not a JSON object";
    return document.object().toVariantMap();
}

std::optional<QVariantMap>& replacement() {
    static std::optional<QVariantMap> dictionary;
    return dictionary;
}

const QVariantMap& dictionary() {
    if (replacement()) return *replacement();
    static const QVariantMap compiledIn = loadCompiledIn();
    return compiledIn;
}

QUrl webAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) return {};
    if (url.scheme() != u"https" && url.scheme() != u"http") return {};
    return url;
}

} // namespace

std::optional<QString> string(const QString& key) {
    const QVariant value = dictionary().value(key);
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString();
}

QString name() {
    return string(QStringLiteral("CFBundleDisplayName")).value_or("Tavuri");
}

QString version() {
    return string(QStringLiteral("CFBundleShortVersionString")).value_or("0");
}

QString build() {
    return string(QStringLiteral("CFBundleVersion")).value_or("0");
}

QUrl siteURL() {
    if (const auto text = string(QStringLiteral("VTSiteURL"))) {
        const QUrl url = webAddress(*text);
        if (!url.isEmpty()) return url;
    }
    const QUrl productPage = webAddress(QStringLiteral("https://vantrel.app/"));
    return productPage.isEmpty() ? QUrl(QStringLiteral("https://vantrel.app")) : productPage;
}

QString copyright() {
    return string(QStringLiteral("NSHumanReadableCopyright")).value_or("");
}

QUrl feedURL() {
    const auto text = string(QStringLiteral("VTFeedURL"));
    return text ? webAddress(*text) : QUrl();
}

void setDictionaryForTesting(std::optional<QVariantMap> dictionary) {
    replacement() = std::move(dictionary);
}

} // namespace vt::AppInfo
