#include "blocking/UrlMatcher.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string_view>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace {

// Cells of the complete move table: 1 MiB, small enough for its busy rows to stay in the CPU caches.
constexpr size_t DenseCells = 256 * 1024;

} // namespace

void *THugePages::Allocate(std::size_t bytes)
{
    constexpr std::size_t HugePage = 2 * 1024 * 1024;
    void *p = nullptr;
    if (bytes < HugePage) {
        p = std::malloc(bytes ? bytes : 1);
    } else {
        const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
        p = std::aligned_alloc(HugePage, rounded);
#ifdef Q_OS_LINUX
        if (p)
            madvise(p, rounded, MADV_HUGEPAGE); // only a hint: without it the tables work the same, slower
#endif
    }
    if (!p)
        throw std::bad_alloc();
    return p;
}

void THugePages::Free(void *p)
{
    std::free(p);
}

TUrlMatcher::TUrlMatcher()
{
    Rebuild({});
}

TUrlMatcher::TUrlMatcher(const QStringList &entries)
{
    Rebuild(entries);
}

void TUrlMatcher::Rebuild(const QStringList &entries)
{
    // Upper-cased entries side by side in one buffer. ASCII upper-cases a-z -> A-Z and nothing else;
    // any other entry goes through toUpper, whose result can be longer ("ß" -> "SS").
    std::vector<char16_t> text;
    std::vector<std::pair<size_t, size_t>> spans;
    spans.reserve(size_t(entries.size()));
    for (const QString &entry : entries) {
        if (entry.isEmpty())
            continue;
        const size_t start = text.size();
        const char16_t *p = reinterpret_cast<const char16_t *>(entry.constData());
        const bool ascii = std::all_of(p, p + entry.size(), [](char16_t c) { return c < 128; });
        if (ascii) {
            for (qsizetype i = 0; i < entry.size(); ++i)
                text.push_back((p[i] >= u'a' && p[i] <= u'z') ? char16_t(p[i] - (u'a' - u'A')) : p[i]);
        } else {
            const QString upper = entry.toUpper();
            const char16_t *u = reinterpret_cast<const char16_t *>(upper.constData());
            text.insert(text.end(), u, u + upper.size());
        }
        spans.emplace_back(start, text.size() - start);
    }
    std::vector<std::u16string_view> sorted;
    sorted.reserve(spans.size());
    for (const auto &[start, length] : spans)
        sorted.emplace_back(text.data() + start, length);
    std::sort(sorted.begin(), sorted.end());
    // Reaching the end of an entry already decides the match, so an entry that has another entry as
    // its prefix adds nothing; in sorted order that prefix is the last entry kept.
    std::vector<std::u16string_view> patterns;
    patterns.reserve(sorted.size());
    for (const std::u16string_view p : sorted)
        if (patterns.empty() || p.substr(0, patterns.back().size()) != patterns.back())
            patterns.push_back(p);
    FPatternCount = qsizetype(patterns.size());

    // Character classes.
    FAsciiClass.fill(0);
    FWideChars.clear();
    {
        std::array<bool, 128> ascii{};
        for (const std::u16string_view p : patterns)
            for (const char16_t c : p) {
                if (c < 128)
                    ascii[c] = true;
                else
                    FWideChars.push_back(c);
            }
        quint32 next = 1;
        for (size_t c = 0; c < ascii.size(); ++c)
            if (ascii[c])
                FAsciiClass[c] = quint16(next++);
        std::sort(FWideChars.begin(), FWideChars.end());
        FWideChars.erase(std::unique(FWideChars.begin(), FWideChars.end()), FWideChars.end());
        FFirstWideClass = next;
        FClasses = next + quint32(FWideChars.size());
    }

    // The trie, depth-first: consecutive sorted patterns share their common prefix, and every state
    // is created right after its parent's earlier children's subtrees, so a first child follows its parent.
    std::vector<quint32> parent(1, 0);
    std::vector<quint32> depth(1, 0);
    std::vector<bool> ends(1, false);
    FStates.assign(1, TState());
    {
        std::vector<quint32> path(1, 0);
        std::u16string_view previous;
        for (const std::u16string_view p : patterns) {
            size_t common = 0;
            const size_t limit = std::min(previous.size(), p.size());
            while (common < limit && previous[common] == p[common])
                ++common;
            path.resize(common + 1);
            for (size_t i = common; i < p.size(); ++i) {
                const quint32 state = quint32(FStates.size());
                TState t;
                t.Via = p[i];
                FStates.push_back(t);
                parent.push_back(path.back());
                depth.push_back(quint32(i + 1));
                ends.push_back(false);
                ++FStates[path.back()].Count;
                path.push_back(state);
            }
            ends[path.back()] = true;
            previous = p;
        }
    }
    const quint32 states = quint32(FStates.size());

    // All children in compressed rows (in character order, as created), for building; the lasting
    // edge lists keep only states with two or more children.
    std::vector<quint32> firstChild(size_t(states) + 1, 0);
    for (quint32 s = 1; s < states; ++s)
        ++firstChild[parent[s] + 1];
    for (quint32 s = 0; s < states; ++s)
        firstChild[s + 1] += firstChild[s];
    std::vector<quint32> children(states > 0 ? states - 1 : 0);
    {
        std::vector<quint32> next(firstChild.begin(), firstChild.end() - 1);
        for (quint32 s = 1; s < states; ++s)
            children[next[parent[s]]++] = s;
    }
    FEdgeChar.clear();
    FEdgeTarget.clear();

    // Shallow states first (any order by depth serves: a failure target is always shallower), so
    // the complete-move rows go to the states nearest the start.
    std::vector<quint32> order(states);
    {
        quint32 maxDepth = 0;
        for (quint32 d : depth)
            maxDepth = std::max(maxDepth, d);
        std::vector<quint32> at(size_t(maxDepth) + 2, 0);
        for (quint32 d : depth)
            ++at[d + 1];
        for (size_t d = 0; d + 1 < at.size(); ++d)
            at[d + 1] += at[d];
        for (quint32 s = 0; s < states; ++s)
            order[at[depth[s]]++] = s;
    }
    const quint32 denseRows = quint32(std::min<size_t>(states, std::max<size_t>(1, DenseCells / FClasses)));
    FDense.assign(size_t(denseRows) * FClasses, 0);
    for (quint32 i = 0; i < states; ++i) {
        const quint32 s = order[i];
        const quint32 first = firstChild[s];
        const quint32 last = firstChild[s + 1];
        TState &t = FStates[s];
        const quint32 fail = t.Fail & ~MatchBit;
        if (i < denseRows) {
            // Row i: the failure state's moves (shallower, so done), overridden by s's own children.
            quint32 *row = FDense.data() + size_t(i) * FClasses;
            if (s != 0)
                std::copy_n(FDense.data() + size_t(FStates[fail].Link) * FClasses, FClasses, row);
            for (quint32 k = first; k < last; ++k)
                row[ClassOf(FStates[children[k]].Via)] = children[k];
        }
        for (quint32 k = first; k < last; ++k) {
            const quint32 v = children[k];
            const char16_t c = FStates[v].Via;
            const quint32 vFail = s == 0 ? 0 : Step(fail, c, ClassOf(c));
            const bool match = ends[v] || (FStates[vFail].Fail & MatchBit);
            FStates[v].Fail = vFail | (match ? MatchBit : 0);
        }
        // Only now: Step above may still have needed s's children in its former shape.
        if (i < denseRows) {
            t.Link = i;
            t.Count = Dense;
        } else if (last - first >= 2) {
            t.Link = quint32(FEdgeChar.size());
            for (quint32 k = first; k < last; ++k) {
                FEdgeChar.push_back(FStates[children[k]].Via);
                FEdgeTarget.push_back(children[k]);
            }
        }
    }
}

quint32 TUrlMatcher::ClassOf(char16_t c) const
{
    if (c < 128)
        return FAsciiClass[c];
    const auto it = std::lower_bound(FWideChars.begin(), FWideChars.end(), c);
    if (it == FWideChars.end() || *it != c)
        return 0;
    return FFirstWideClass + quint32(it - FWideChars.begin());
}

quint32 TUrlMatcher::Step(quint32 state, char16_t c, quint32 cls) const
{
    // Follow failure links until a state has an edge for c or a row of complete moves takes over.
    for (;;) {
        const TState &t = FStates[state];
        if (t.Count == Dense)
            return FDense[size_t(t.Link) * FClasses + cls];
        if (t.Count == 1) {
            if (FStates[state + 1].Via == c)
                return state + 1;
        } else if (t.Count > 1) {
            const char16_t *begin = FEdgeChar.data() + t.Link;
            const char16_t *end = begin + t.Count;
            const char16_t *it = t.Count <= 8 ? std::find(begin, end, c) : std::lower_bound(begin, end, c);
            if (it != end && *it == c)
                return FEdgeTarget[t.Link + quint32(it - begin)];
        }
        if (state == 0)
            return 0;
        state = t.Fail & ~MatchBit;
    }
}

bool TUrlMatcher::MatchesUpper(const char16_t *text, qsizetype length) const
{
    quint32 state = 0;
    for (qsizetype i = 0; i < length; ++i) {
        const quint32 cls = ClassOf(text[i]);
        state = cls == 0 ? 0 : Step(state, text[i], cls);
        if (FStates[state].Fail & MatchBit)
            return true;
    }
    return false;
}

bool TUrlMatcher::Matches(const QString &url) const
{
    if (url.isEmpty() || FPatternCount == 0)
        return false;
    // As when building: pure ASCII is upper-cased on the fly, anything else through toUpper.
    const char16_t *p = reinterpret_cast<const char16_t *>(url.constData());
    const qsizetype n = url.size();
    quint32 state = 0;
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = p[i];
        if (c >= 128) {
            const QString upper = url.toUpper();
            return MatchesUpper(reinterpret_cast<const char16_t *>(upper.constData()), upper.size());
        }
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - (u'a' - u'A'));
        const quint32 cls = FAsciiClass[c];
        state = cls == 0 ? 0 : Step(state, c, cls);
        if (FStates[state].Fail & MatchBit)
            return true;
    }
    return false;
}

qsizetype TUrlMatcher::MemoryUsage() const
{
    return qsizetype(sizeof(*this) + FStates.capacity() * sizeof(TState) + FEdgeChar.capacity() * sizeof(char16_t)
                     + FEdgeTarget.capacity() * sizeof(quint32) + FDense.capacity() * sizeof(quint32)
                     + FWideChars.capacity() * sizeof(char16_t));
}
