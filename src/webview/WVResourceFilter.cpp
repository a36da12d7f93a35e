#include "webview/WVResourceFilter.h"

bool TWVResourceFilter::Add(const QString &pattern, int context)
{
    if (pattern.isEmpty() || context < wvrcAll || context > wvrcOther)
        return false;
    for (const TEntry &entry : std::as_const(FEntries))
        if (entry.Pattern == pattern && entry.Context == context)
            return true;
    FEntries.append({pattern, TWVWebResourceContext(context)});
    return true;
}

bool TWVResourceFilter::Remove(const QString &pattern, int context)
{
    for (qsizetype i = 0; i < FEntries.size(); ++i) {
        if (FEntries.at(i).Pattern == pattern && FEntries.at(i).Context == context) {
            FEntries.removeAt(i);
            return true;
        }
    }
    return false;
}

bool TWVResourceFilter::Matches(const TWVResourceRequest &request) const
{
    if (FEntries.isEmpty())
        return false;
    const QString address = request.Url.toString(QUrl::FullyEncoded);
    for (const TEntry &entry : FEntries) {
        if (entry.Context != wvrcAll && entry.Context != request.Context)
            continue;
        if (WildcardMatch(entry.Pattern, address))
            return true;
    }
    return false;
}

bool TWVResourceFilter::WildcardMatch(const QString &pattern, const QString &text)
{
    // Iterative glob matching with one back-track point: linear in practice, no regular expressions on
    // the path of every request.
    qsizetype p = 0, t = 0, star = -1, mark = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern.at(p) == QLatin1Char('?') || pattern.at(p) == text.at(t))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            star = p++;
            mark = t;
        } else if (star >= 0) {
            p = star + 1;
            t = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}
