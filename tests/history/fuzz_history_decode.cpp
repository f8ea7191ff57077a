// libFuzzer target: any bytes fed to the history decoder either give a history that survives
// writing and reading back unchanged, or are rejected; never a crash, hang or sanitizer report.
#include "history/clip_history.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <cstddef>
#include <cstdint>

static qsizetype characters(const QString& s) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, s);
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto history = vt::ClipHistory::fromJson(input);
    if (!history) return 0;

    const QByteArray written = history->toJson();
    const auto reread = vt::ClipHistory::fromJson(written);
    if (!reread || !(*reread == *history) || reread->toJson() != written) __builtin_trap();

    // Titles never exceed their length; adding clips never grows a history past its items.
    const qsizetype maxLength = size > 0 ? static_cast<qsizetype>(data[0] % 80) - 2 : 10;
    vt::ClipHistory copy;
    copy.limit = history->limit;
    for (const vt::ClipItem& item : history->items) {
        if (item.kind == vt::ClipItem::Kind::text &&
            characters(item.snippet(maxLength)) > std::max<qsizetype>(maxLength, 1))
            __builtin_trap();
        (void)item.dedupeKey();
        if (copy.add(item) && !copy.items.front().hasSameDedupeKey(item)) __builtin_trap();
    }
    if (copy.items.size() > history->items.size()) __builtin_trap();
    return 0;
}
