#include "history/clip_history.h"

#include "history/clip_text.h"

#include <algorithm>

namespace vt {

bool ClipHistory::add(const ClipItem& item) {
    if (item.kind == ClipItem::Kind::text && ClipText::isBlank(item.text.value_or(QString())))
        return false;
    if (!items.empty() && items.front().hasSameDedupeKey(item)) return false;
    // Dropping duplicates first keeps the surviving clips in their order. Only the oldest
    // duplicate can matter in practice (add keeps the history free of them), but a file written
    // by hand may hold several.
    std::erase_if(items, [&](const ClipItem& old) { return old.hasSameDedupeKey(item); });
    // A limit below 1 (a damaged file, before the settings replace it) must not drop the new clip.
    const auto keep = static_cast<std::size_t>(std::max<std::int64_t>(limit, 1));
    if (items.size() >= keep) items.resize(keep - 1);
    // The new clip goes in front; the others move one place back.
    items.emplace_back();
    std::move_backward(items.begin(), items.end() - 1, items.end());
    items.front() = item;
    return true;
}

} // namespace vt
