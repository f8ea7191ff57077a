#pragma once
#include <QString>
#include <QUrl>
#include <QVariantMap>
#include <optional>

namespace vt {

// Facts about the program the user sees, looked up in the compiled-in information dictionary on
// every read, so that the visible name comes from the dictionary and not from code.
namespace AppInfo {

QString name();    // "CFBundleDisplayName", else "Tavuri"
QString version(); // "CFBundleShortVersionString", else "0"
QString build();   // "CFBundleVersion", else "0"
// The text value of a dictionary key; nullopt when missing or not text.
std::optional<QString> string(const QString& key);
// "VTSiteURL" when it is text and parses; else the built-in product page, else the site root.
QUrl siteURL();
// "NSHumanReadableCopyright" when it is text, else "".
QString copyright();
// "VTFeedURL" when it is text and parses as an http(s) address; else an empty URL (no updates).
QUrl feedURL();
// Replaces the dictionary; nullopt restores the compiled-in one.
void setDictionaryForTesting(std::optional<QVariantMap> dictionary);

} // namespace AppInfo
} // namespace vt
