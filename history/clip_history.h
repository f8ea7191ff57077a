#pragma once
#include "history/clip_item.h"

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

namespace vt {

// The clip history, newest first, kept to at most `limit` entries without duplicates.
struct ClipHistory {
    std::vector<ClipItem> items;
    std::int64_t limit = 50;

    // Puts a clip at the front. False (and nothing changes) for blank text and for a repeat of
    // the newest clip; an older duplicate is replaced by the new entry. A limit below 1 still
    // keeps the newest clip.
    bool add(const ClipItem& item);

    bool operator==(const ClipHistory&) const = default;

    // The history file's content: compact JSON, members in a fixed order.
    QByteArray toJson() const;
    // One item as toJson() writes it.
    static void appendItemJson(QByteArray& out, const ClipItem& item);
    // Nothing unless the whole document decodes: malformed JSON, a missing required member,
    // a member of the wrong type or an unknown kind rejects it. Members it does not know are
    // skipped; `version`, when given, receives the document's "version" member (0 when there
    // is none), also when the rest does not decode.
    static std::optional<ClipHistory> fromJson(const QByteArray& json, double* version = nullptr);
};

} // namespace vt
