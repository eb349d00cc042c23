#include "core/util/TextKey.h"

#include "core/util/Numbers.h"

namespace orvak::util {

QString searchKey(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : normalizeDigits(text)) {
        switch (c.unicode()) {
        case 0x200C:   // ZWNJ
        case 0x200F:   // RLM
        case 0x200E:   // LRM
            continue;
        case 0x06CC:   // Persian Yeh
        case 0x0649:   // Alef Maksura, typed for Yeh at the end of words
            out.append(QChar(0x064A));
            break;
        case 0x06A9:   // Persian Kaf
            out.append(QChar(0x0643));
            break;
        default:
            out.append(c.toLower());
        }
    }
    return out;
}

bool searchMatches(const QString& haystack, const QString& needle)
{
    return searchKey(haystack).contains(searchKey(needle));
}

} // namespace orvak::util
