#pragma once
#include <QString>

namespace orvak::util {

// The key a search compares: Arabic and Persian Yeh and Kaf are one letter, the
// zero-width non-joiner is ignored, digits of every script are ASCII, and letter
// case does not count. Stored text is never rewritten with it.
QString searchKey(const QString& text);

// True when needle occurs in haystack under searchKey.
bool searchMatches(const QString& haystack, const QString& needle);

} // namespace orvak::util
