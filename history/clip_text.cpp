#include "history/clip_text.h"

#include <QStringView>
#include <QTextBoundaryFinder>

namespace vt::ClipText {

namespace {

constexpr QChar kEllipsis(0x2026);

// Grapheme boundaries are found window by window so that a title of a few dozen characters
// does not cost a boundary table for a clip of many megabytes.
constexpr qsizetype kWindow = 4096;
// A title never looks further into a text than this (a longer run of whitespace than a title
// could ever need is cut short): its end reads as "…".
constexpr qsizetype kTitleScan = 4096;

bool allWhiteSpace(QStringView s) {
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && s.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(s.at(i).unicode(), s.at(i + 1).unicode());
            ++i;
        }
        if (!isWhiteSpace(c)) return false;
    }
    return true;
}

// Collects the collapsed text cluster by cluster and stops as soon as it is known to be too long.
class Collector {
public:
    explicit Collector(qsizetype limit) : maxLength(limit) {}

    // Returns false once the text exceeds maxLength characters (the rest need not be read).
    bool take(QStringView cluster) {
        if (allWhiteSpace(cluster)) {
            pendingSpace = !out.isEmpty();
            return true;
        }
        if (pendingSpace) {
            append(QStringView(u" "));
            pendingSpace = false;
            if (tooLong()) return false;
        }
        append(cluster);
        return !tooLong();
    }

    // The text goes on beyond what was read: the title ends in "…" like a shortened one.
    QString continued() && {
        if (count < maxLength) {
            out.append(kEllipsis);
            return std::move(out);
        }
        count = maxLength + 1;
        return std::move(*this).result();
    }

    QString result() && {
        if (!tooLong()) return std::move(out);
        out.truncate(cutOffset);
        out.append(kEllipsis);
        return std::move(out);
    }

private:
    void append(QStringView cluster) {
        out.append(cluster);
        ++count;
        if (count == maxLength - 1) cutOffset = out.size();
    }
    bool tooLong() const { return count > maxLength; }

    qsizetype maxLength;
    QString out;
    qsizetype count = 0;
    qsizetype cutOffset = 0; // end of the first maxLength - 1 characters
    bool pendingSpace = false;
};

} // namespace

bool isWhiteSpace(char32_t c) {
    switch (c) {
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x20:
    case 0x85:
    case 0xA0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

bool isBlank(const QString& s) {
    return allWhiteSpace(s);
}

QString oneLine(const QString& s, qsizetype maxLength) {
    Collector collector(maxLength);
    qsizetype start = 0;
    qsizetype window = kWindow;
    const qsizetype scan = std::max(kTitleScan, 4 * maxLength);
    while (start < s.size()) {
        if (start >= scan) return std::move(collector).continued();
        qsizetype end = std::min(s.size(), start + window);
        // Never cut a surrogate pair: the finder would see half a character.
        if (end < s.size() && s.at(end - 1).isHighSurrogate()) --end;
        const QStringView part = QStringView(s).mid(start, end - start);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, part.data(), part.size());
        // The window's own end is a boundary only when it is the text's end; inside the text
        // the last cluster of a window may continue beyond it, so it is read again next time.
        qsizetype trusted = part.size();
        if (end < s.size()) {
            finder.toEnd();
            trusted = finder.toPreviousBoundary();
            if (trusted <= 0) {
                window *= 2; // one cluster longer than the window
                continue;
            }
            finder.toStart();
        }
        qsizetype from = 0;
        for (qsizetype to = finder.toNextBoundary(); to > 0 && to <= trusted;
             to = finder.toNextBoundary()) {
            if (!collector.take(part.mid(from, to - from))) return std::move(collector).result();
            from = to;
        }
        start += trusted;
        window = kWindow;
    }
    return std::move(collector).result();
}

} // namespace vt::ClipText
