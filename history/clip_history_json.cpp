// The history file's JSON form. Written by hand because the members must come in a fixed order
// (QJsonDocument sorts them); read with QJsonDocument, rejecting the document on any fault.
#include "history/clip_history.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace vt {

namespace {

// Dates are seconds since 2001-01-01 00:00:00 UTC.
constexpr qint64 kReferenceMSecs = 978307200000;
// Beyond this a date cannot be turned back into milliseconds of a 64-bit count.
constexpr double kMaxSeconds = 9.0e15;

char* putEscaped(char* o, char16_t unit) {
    static constexpr char hex[] = "0123456789abcdef";
    *o++ = '\\';
    *o++ = 'u';
    for (int shift = 12; shift >= 0; shift -= 4)
        *o++ = hex[(unit >> shift) & 0xF];
    return o;
}

char* putUtf8(char* o, char32_t c) {
    const auto byte = [](char32_t v) { return static_cast<char>(v); };
    if (c < 0x800) {
        *o++ = byte(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        *o++ = byte(0xE0 | (c >> 12));
        *o++ = byte(0x80 | ((c >> 6) & 0x3F));
    } else {
        *o++ = byte(0xF0 | (c >> 18));
        *o++ = byte(0x80 | ((c >> 12) & 0x3F));
        *o++ = byte(0x80 | ((c >> 6) & 0x3F));
    }
    *o++ = byte(0x80 | (c & 0x3F));
    return o;
}

// UTF-8 with JSON escapes. A lone surrogate (which no UTF-8 can hold) is written as its \u escape
// so that whatever a clip holds comes back unchanged. Written straight into the buffer, a block
// at a time (at most 6 bytes per unit), since clips can be megabytes long.
void appendString(QByteArray& out, const QString& s) {
    constexpr qsizetype kBlock = 1 << 16;
    const qsizetype n = s.size();
    const auto* in = reinterpret_cast<const char16_t*>(s.constData());
    out.append('"');
    for (qsizetype i = 0; i < n;) {
        const qsizetype end = std::min(n, i + kBlock);
        const qsizetype start = out.size();
        out.resize(start + (end - i) * 6 + 8);
        char* const first = out.data() + start;
        char* o = first;
        for (; i < end; ++i) {
            const char16_t u = in[i];
            if (u < 0x80) {
                if (u >= 0x20 && u != '"' && u != '\\') {
                    *o++ = static_cast<char>(u);
                    continue;
                }
                *o++ = '\\';
                switch (u) {
                case '"':
                    *o++ = '"';
                    break;
                case '\\':
                    *o++ = '\\';
                    break;
                case '\n':
                    *o++ = 'n';
                    break;
                case '\r':
                    *o++ = 'r';
                    break;
                case '\t':
                    *o++ = 't';
                    break;
                case '\b':
                    *o++ = 'b';
                    break;
                case '\f':
                    *o++ = 'f';
                    break;
                default:
                    o = putEscaped(o - 1, u);
                }
                continue;
            }
            if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
                o = putUtf8(o, QChar::surrogateToUcs4(u, in[i + 1]));
                ++i;
            } else if (QChar::isSurrogate(u)) {
                o = putEscaped(o, u);
            } else {
                o = putUtf8(o, u);
            }
        }
        out.resize(start + (o - first));
    }
    out.append('"');
}

void appendKey(QByteArray& out, const char* key) {
    out.append('"');
    out.append(key);
    out.append("\":");
}

void appendDate(QByteArray& out, const QDateTime& date) {
    const qint64 msecs = date.isValid() ? date.toMSecsSinceEpoch() : kReferenceMSecs;
    // Clamped so that the reader takes back whatever the writer wrote.
    const double seconds =
        std::clamp((static_cast<double>(msecs) - static_cast<double>(kReferenceMSecs)) / 1000.0,
                   -kMaxSeconds, kMaxSeconds);
    char buffer[512]; // room for any double in fixed notation
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed);
    out.append(buffer, result.ptr - buffer);
}

} // namespace

void ClipHistory::appendItemJson(QByteArray& out, const ClipItem& item) {
    out.append('{');
    appendKey(out, "id");
    appendString(out, item.idString());
    out.append(',');
    appendKey(out, "kind");
    appendString(out, kindName(item.kind));
    if (item.text) {
        out.append(',');
        appendKey(out, "text");
        appendString(out, *item.text);
    }
    if (item.imageData) {
        out.append(',');
        appendKey(out, "imageData");
        out.append('"');
        out.append(item.imageData->toBase64());
        out.append('"');
    }
    if (item.filePaths) {
        out.append(',');
        appendKey(out, "filePaths");
        out.append('[');
        for (qsizetype i = 0; i < item.filePaths->size(); ++i) {
            if (i > 0) out.append(',');
            appendString(out, item.filePaths->at(i));
        }
        out.append(']');
    }
    out.append(',');
    appendKey(out, "date");
    appendDate(out, item.date);
    if (item.sourceApp) {
        out.append(',');
        appendKey(out, "sourceApp");
        appendString(out, *item.sourceApp);
    }
    out.append('}');
}

namespace {

// Standard Base64 with padding, nothing else (no line breaks, no URL alphabet). Decoded here
// rather than by QByteArray::fromBase64, which is several times slower, and images make up
// most of a history file.
std::optional<QByteArray> decodeBase64(QStringView s) {
    static constexpr auto table = [] {
        std::array<std::int8_t, 128> t{};
        t.fill(-1);
        constexpr char alphabet[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 64; ++i)
            t[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
        return t;
    }();
    const qsizetype n = s.size();
    if (n % 4 != 0) return std::nullopt;
    qsizetype padding = 0;
    if (n > 0 && s[n - 1] == u'=') ++padding;
    if (n > 1 && s[n - 2] == u'=') ++padding;
    QByteArray out(n / 4 * 3 - padding, Qt::Uninitialized);
    char* o = out.data();
    const char16_t* in = s.utf16();
    const auto sextet = [](char16_t c) -> std::int32_t { return c < 128 ? table[c] : -1; };
    for (qsizetype i = 0; i < n; i += 4) {
        const bool last = i + 4 == n;
        const std::int32_t a = sextet(in[i]);
        const std::int32_t b = sextet(in[i + 1]);
        const std::int32_t c = last && padding == 2 ? 0 : sextet(in[i + 2]);
        const std::int32_t d = last && padding >= 1 ? 0 : sextet(in[i + 3]);
        if ((a | b | c | d) < 0) return std::nullopt;
        const std::uint32_t v =
            (static_cast<std::uint32_t>(a) << 18) | (static_cast<std::uint32_t>(b) << 12) |
            (static_cast<std::uint32_t>(c) << 6) | static_cast<std::uint32_t>(d);
        *o++ = static_cast<char>(v >> 16);
        if (!last || padding < 2) *o++ = static_cast<char>((v >> 8) & 0xFF);
        if (!last || padding < 1) *o++ = static_cast<char>(v & 0xFF);
    }
    return out;
}

// 8-4-4-4-12 hexadecimal digits, either case.
bool isCanonicalUuid(const QString& s) {
    if (s.size() != 36) return false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != u'-') return false;
        } else if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') ||
                     (c >= u'A' && c <= u'F'))) {
            return false;
        }
    }
    return true;
}

// An optional member counts as absent when it is missing or null.
bool isAbsent(const QJsonValue& v) {
    return v.isUndefined() || v.isNull();
}

std::optional<QString> optionalString(const QJsonObject& o, QLatin1StringView key, bool& ok) {
    const QJsonValue v = o.value(key);
    if (isAbsent(v)) return std::nullopt;
    if (!v.isString()) ok = false;
    return v.toString();
}

std::optional<ClipItem> decodeItem(const QJsonValue& value) {
    if (!value.isObject()) return std::nullopt;
    const QJsonObject o = value.toObject();

    const QJsonValue id = o.value(QLatin1StringView("id"));
    if (!id.isString() || !isCanonicalUuid(id.toString())) return std::nullopt;
    const QJsonValue kindValue = o.value(QLatin1StringView("kind"));
    if (!kindValue.isString()) return std::nullopt;
    const auto kind = kindFromName(kindValue.toString());
    if (!kind) return std::nullopt;
    const QJsonValue dateValue = o.value(QLatin1StringView("date"));
    if (!dateValue.isDouble()) return std::nullopt;
    const double seconds = dateValue.toDouble();
    if (!std::isfinite(seconds) || std::abs(seconds) > kMaxSeconds) return std::nullopt;

    ClipItem item;
    item.id = QUuid::fromString(id.toString());
    item.kind = *kind;
    item.date = QDateTime::fromMSecsSinceEpoch(
        kReferenceMSecs + static_cast<qint64>(std::llround(seconds * 1000.0)), Qt::UTC);

    bool ok = true;
    item.text = optionalString(o, QLatin1StringView("text"), ok);
    item.sourceApp = optionalString(o, QLatin1StringView("sourceApp"), ok);
    if (const auto image = optionalString(o, QLatin1StringView("imageData"), ok); ok && image) {
        item.imageData = decodeBase64(*image);
        if (!item.imageData) return std::nullopt;
    }
    const QJsonValue paths = o.value(QLatin1StringView("filePaths"));
    if (!isAbsent(paths)) {
        if (!paths.isArray()) return std::nullopt;
        QStringList list;
        for (const QJsonValue path : paths.toArray()) {
            if (!path.isString()) return std::nullopt;
            list.append(path.toString());
        }
        item.filePaths = std::move(list);
    }
    if (!ok) return std::nullopt;
    return item;
}

} // namespace

QByteArray ClipHistory::toJson() const {
    QByteArray out;
    qsizetype estimate = 32;
    for (const ClipItem& item : items)
        estimate += 160 + (item.imageData ? item.imageData->size() * 4 / 3 : 0) +
                    (item.text ? item.text->size() * 2 : 0);
    out.reserve(estimate);
    out.append("{\"items\":[");
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out.append(',');
        appendItemJson(out, items[i]);
    }
    out.append("],\"limit\":");
    out.append(QByteArray::number(static_cast<qlonglong>(limit)));
    out.append('}');
    return out;
}

std::optional<ClipHistory> ClipHistory::fromJson(const QByteArray& json, double* version) {
    if (version) *version = 0;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    const QJsonObject root = document.object();
    if (version) *version = root.value(QLatin1StringView("version")).toDouble(0);

    const QJsonValue limitValue = root.value(QLatin1StringView("limit"));
    if (!limitValue.isDouble()) return std::nullopt;
    // Integers only: toInteger gives its fallback for anything that is not a whole number.
    const qint64 limit = limitValue.toInteger(0);
    if (limit != limitValue.toInteger(1)) return std::nullopt;

    const QJsonValue itemsValue = root.value(QLatin1StringView("items"));
    if (!itemsValue.isArray()) return std::nullopt;
    const QJsonArray array = itemsValue.toArray();

    ClipHistory history;
    history.limit = limit;
    history.items.reserve(static_cast<std::size_t>(array.size()));
    for (const QJsonValue value : array) {
        auto item = decodeItem(value);
        if (!item) return std::nullopt;
        history.items.push_back(std::move(*item));
    }
    return history;
}

} // namespace vt
