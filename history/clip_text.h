#pragma once
#include <QString>

namespace vt::ClipText {

// Collapses every run of whitespace (Unicode White_Space, line breaks included) into one space,
// drops it at both ends, and shortens the result to at most maxLength user-perceived characters
// (grapheme clusters), ending a shortened title with "…".
QString oneLine(const QString& s, qsizetype maxLength);

// Unicode White_Space: tab, line feed, vertical tab, form feed, carriage return, space, U+0085,
// no-break spaces, the U+2000 block spaces, line and paragraph separators, U+3000 and friends.
bool isWhiteSpace(char32_t c);

// True when s holds nothing but whitespace (or nothing at all).
bool isBlank(const QString& s);

} // namespace vt::ClipText
