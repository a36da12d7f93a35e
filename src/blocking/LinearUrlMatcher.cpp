#include "blocking/LinearUrlMatcher.h"

bool TLinearUrlMatcher::Matches(const QString &url) const
{
    for (const QString &entry : FEntries) {
        // QString::contains finds an empty string everywhere, so emptiness is tested first.
        if (entry.isEmpty() || url.isEmpty())
            continue;
        if (url.toUpper().contains(entry.toUpper()))
            return true;
    }
    return false;
}
