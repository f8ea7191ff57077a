// libFuzzer target: any bytes fed to the history decoder either give a history that survives
// writing and reading back unchanged, or are rejected; never a crash, hang or sanitizer report.
#include "history/clip_history.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto history = vt::ClipHistory::fromJson(input);
    if (!history) return 0;

    const QByteArray written = history->toJson();
    const auto reread = vt::ClipHistory::fromJson(written);
    if (!reread || !(*reread == *history) || reread->toJson() != written) __builtin_trap();

    // What menus and pickers show for each clip, at a length taken from the input.
    vt::ClipHistory copy;
    copy.limit = history->limit;
    const qsizetype maxLength = size > 0 ? static_cast<qsizetype>(data[0] % 80) - 2 : 10;
    for (const vt::ClipItem& item : history->items) {
        if (item.snippet(maxLength).size() > (item.kind == vt::ClipItem::Kind::files
                                                  ? 1 << 30
                                                  : (maxLength < 1 ? 1 : maxLength) * 64))
            __builtin_trap();
        (void)item.dedupeKey();
        copy.add(item);
    }
    if (copy.items.size() > history->items.size()) __builtin_trap();
    return 0;
}
