#include "history/clip_history.h"

#include "history/clip_text.h"

#include <algorithm>

namespace vt {

bool ClipHistory::add(const ClipItem& item) {
    if (item.kind == ClipItem::Kind::text && ClipText::isBlank(item.text.value_or(QString())))
        return false;
    if (!items.empty() && items.front().hasSameDedupeKey(item)) return false;
    std::erase_if(items, [&](const ClipItem& old) { return old.hasSameDedupeKey(item); });
    items.insert(items.begin(), item);
    // A limit below 1 (a damaged file, before settings replace it) must not drop the new clip.
    const auto keep = static_cast<std::size_t>(std::max<std::int64_t>(limit, 1));
    if (items.size() > keep)
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(keep), items.end());
    return true;
}

} // namespace vt
