#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

// How X11 clipboard targets (MIME types and the old atom names) map onto the program's type
// identifiers, and the encodings of file references that other programs paste.
namespace vt::ClipboardMime {

// Target naming the password-manager hint; offering it marks the copy as concealed.
inline constexpr const char* passwordHint = "x-kde-passwordManagerHint";

// True unless the hint's value is plainly something other than "secret" (compared without
// surrounding whitespace, NULs or case); an empty value conceals too.
bool hintConceals(const QByteArray& value);
// True for the selection protocol's own targets (TARGETS, MULTIPLE, TIMESTAMP ...).
bool isMetaTarget(const QByteArray& target);
// The type identifier for an offered target; absent for meta-targets and the password hint.
std::optional<QString> typeForTarget(const QByteArray& target);
// How good a target is as the source of plain text: higher is better, 0 = not text.
int textRank(const QByteArray& target);
// Decodes text bytes received under `target` (STRING is Latin-1, everything else UTF-8).
QString decodeText(const QByteArray& bytes, const QByteArray& target);
// The MIME type we offer for a type identifier.
QString mimeForType(const QString& type);

// The local file URLs of a text/uri-list; empty when the list is malformed or names no file.
QList<QUrl> fileURLsFromUriList(const QByteArray& list);
// text/uri-list for `urls` (CRLF-terminated lines).
QByteArray uriList(const QList<QUrl>& urls);
// x-special/gnome-copied-files for a copy (not a cut) of `urls`.
QByteArray gnomeCopiedFiles(const QList<QUrl>& urls);
// The local paths of `urls`, one per line, for programs that only paste text.
QString pathsText(const QList<QUrl>& urls);

} // namespace vt::ClipboardMime
