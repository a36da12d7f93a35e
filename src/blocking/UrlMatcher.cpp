#include "blocking/UrlMatcher.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string_view>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace {

// Reached an entry's end: the answer is yes, whatever follows.
constexpr quint32 Match = 0xFFFFFFFFu;

// Rows go breadth first to the states up to RowDepth characters deep, and to deeper ones that at
// least RowEntries entries pass through: those are the ones a URL is most likely to be in.
constexpr size_t RowDepth = 3;
constexpr size_t RowEntries = 3;
static_assert(RowEntries > 1, "the states along a single entry's chain never have rows");

// Nodes hold 32-bit references among UTF-16 units; memcpy keeps the mixed access well-defined.
inline quint32 load32(const char16_t *p)
{
    quint32 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void store32(char16_t *p, quint32 v)
{
    std::memcpy(p, &v, sizeof v);
}

// Offset of the references within a node with count children.
inline size_t targetsAt(size_t count)
{
    return (4 + count) & ~size_t(1);
}

inline size_t nodeUnits(size_t count)
{
    return targetsAt(count) + 2 * count;
}

// A link of a chain (a state deep in a single entry) lies right before its one child: the child's
// reference is its own plus ChainUnits, and its count unit holds one of these marks.
constexpr char16_t ChainNext = 0xFFFF;
constexpr char16_t ChainEnd = 0xFFFE; // the child ends the entry: Match
constexpr quint32 ChainUnits = 4;
constexpr size_t MaxChildren = 0xFFFD;

// The child of the node at ref on c, or false when it has none.
inline bool findChild(const char16_t *node, quint32 ref, char16_t c, quint32 &target)
{
    const size_t count = node[2];
    const char16_t *chars = node + 3;
    if (count >= ChainEnd) {
        if (chars[0] != c)
            return false;
        target = count == ChainNext ? ref + ChainUnits : Match;
        return true;
    }
    size_t j;
    if (count <= 8) {
        j = 0;
        while (j < count && chars[j] != c)
            ++j;
        if (j == count)
            return false;
    } else {
        const char16_t *it = std::lower_bound(chars, chars + count, c);
        if (it == chars + count || *it != c)
            return false;
        j = size_t(it - chars);
    }
    target = load32(node + targetsAt(count) + 2 * j);
    return true;
}

inline void prefetch(const void *p)
{
#if defined(__GNUC__)
    __builtin_prefetch(p);
#else
    Q_UNUSED(p);
#endif
}

// States ahead whose memory the build asks for before it needs it.
constexpr size_t PrefetchAhead = 8;

inline char16_t asciiUpper(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}

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

TUrlMatcher::TUrlMatcher(const QStringList &entries, qsizetype rowBytes)
{
    Rebuild(entries, rowBytes);
}

void TUrlMatcher::Rebuild(const QStringList &entries, qsizetype rowBytes)
{
    // Upper-cased entries side by side in one buffer. ASCII upper-cases a-z -> A-Z and nothing else;
    // any other entry goes through toUpper, whose result can be longer ("ß" -> "SS").
    std::vector<char16_t> text;
    {
        size_t total = 0;
        for (const QString &entry : entries)
            total += size_t(entry.size());
        text.reserve(total);
    }
    std::vector<std::pair<size_t, size_t>> spans;
    spans.reserve(size_t(entries.size()));
    for (const QString &entry : entries) {
        if (entry.isEmpty())
            continue;
        const size_t start = text.size();
        const char16_t *p = reinterpret_cast<const char16_t *>(entry.constData());
        char16_t any = 0;
        for (qsizetype i = 0; i < entry.size(); ++i)
            any |= p[i];
        if (any < 128) {
            text.resize(start + size_t(entry.size()));
            std::transform(p, p + entry.size(), text.begin() + qsizetype(start), asciiUpper);
        } else {
            const QString upper = entry.toUpper();
            const char16_t *u = reinterpret_cast<const char16_t *>(upper.constData());
            text.insert(text.end(), u, u + upper.size());
        }
        spans.emplace_back(start, text.size() - start);
    }

    // Character classes.
    FAsciiClass.fill(0);
    FWideChars.clear();
    {
        std::vector<quint8> seen(0x10000);
        for (const char16_t c : text)
            seen[c] = 1;
        quint32 next = 1;
        for (size_t c = 0; c < 128; ++c)
            if (seen[c])
                FAsciiClass[c] = quint8(next++);
        for (char16_t c = u'a'; c <= u'z'; ++c)
            FAsciiClass[c] = FAsciiClass[asciiUpper(c)];
        FClasses = next;
        for (size_t c = 128; c < seen.size(); ++c)
            if (seen[c])
                FWideChars.push_back(char16_t(c));
    }

    // Sorted, the entries below any state of the trie form one run, and an entry that is another's
    // prefix comes first in the run. They are sorted on their first few characters as one number
    // (each character's rank among those the entries hold, 0 after the end, so that the numbers
    // keep the order of the texts), then each group that shares those on the rest, and copied in
    // that order, so that walking the runs reads memory mostly forwards.
    const auto rankOf = [&](char16_t c) {
        if (c < 128)
            return quint64(FAsciiClass[c]);
        return quint64(FClasses + (std::lower_bound(FWideChars.begin(), FWideChars.end(), c) - FWideChars.begin()));
    };
    int rankBits = 1;
    while ((quint64(1) << rankBits) <= FClasses + FWideChars.size())
        ++rankBits;
    const size_t keyChars = size_t(64 / rankBits);
    std::vector<std::pair<quint64, quint32>> keyed;
    keyed.reserve(spans.size());
    for (size_t i = 0; i < spans.size(); ++i) {
        quint64 key = 0;
        for (size_t k = 0; k < keyChars; ++k)
            key = (key << rankBits) | (k < spans[i].second ? rankOf(text[spans[i].first + k]) : 0);
        keyed.emplace_back(key, quint32(i));
    }
    std::sort(keyed.begin(), keyed.end());
    const auto viewOf = [&](quint32 i) { return std::u16string_view(text.data() + spans[i].first, spans[i].second); };
    for (size_t lo = 0; lo < keyed.size();) {
        size_t hi = lo + 1;
        while (hi < keyed.size() && keyed[hi].first == keyed[lo].first)
            ++hi;
        if (hi - lo > 1)
            std::sort(keyed.begin() + qsizetype(lo), keyed.begin() + qsizetype(hi),
                      [&](const auto &a, const auto &b) { return viewOf(a.second) < viewOf(b.second); });
        lo = hi;
    }
    std::vector<char16_t> sortedText(text.size());
    std::vector<std::u16string_view> sorted;
    sorted.reserve(keyed.size());
    {
        char16_t *out = sortedText.data();
        for (const auto &[key, i] : keyed) {
            std::copy_n(text.data() + spans[i].first, spans[i].second, out);
            sorted.emplace_back(out, spans[i].second);
            out += spans[i].second;
        }
    }

    FDense.clear();
    FNodes.clear();
    FRowNode.clear();
    FPatternCount = 0;
    FStateCount = 0;
    const size_t rowLimit = size_t(std::max<qsizetype>(rowBytes, 0)) / (sizeof(quint32) * FClasses);
    const quint32 maxRows = quint32(std::clamp<size_t>(rowLimit, 1, (Match / 2) / FClasses));
    FDenseLimit = maxRows * FClasses;
    if (sorted.empty())
        return;

    // End of the run of entries from k on that share the character at depth. Runs are mostly
    // single entries deep down and long near the start, so the end is found by doubling steps.
    const auto runEnd = [&](size_t k, size_t hi, size_t depth) {
        const char16_t c = sorted[k][depth];
        size_t lo = k; // sorted[lo] has c
        size_t step = 1;
        while (lo + step < hi && sorted[lo + step][depth] == c) {
            lo += step;
            step *= 2;
        }
        size_t end = std::min(lo + step, hi); // sorted[end] does not have c, or is the end
        while (end - lo > 1) {
            const size_t middle = lo + (end - lo) / 2;
            (sorted[middle][depth] == c ? lo : end) = middle;
        }
        return end;
    };
    struct TPending
    {
        quint32 Lo, Hi; // run of sorted entries below the state
        quint32 Node;
        quint32 Ref;
    };
    std::vector<char16_t> children;
    // A new state for the run [lo, hi) at depth, its node ready for the children's references.
    const auto addState = [&](size_t lo, size_t hi, size_t depth, quint32 fail) {
        const quint32 row = quint32(FRowNode.size());
        const bool rowed = row < maxRows && (depth <= RowDepth || hi - lo >= RowEntries);
        const size_t node = FNodes.size();
        ++FStateCount;
        if (!rowed && hi - lo == 1) {
            // The rest of a single entry: a chain of links, one per character. States on it count
            // once they are reached; an earlier entry inside it can cut it short, leaving the
            // links after the cut unused.
            const std::u16string_view entry = sorted[lo];
            const size_t links = entry.size() - depth;
            if (node + links * ChainUnits >= size_t(Match - FDenseLimit))
                throw std::length_error("block list too large for the URL matcher");
            FNodes.resize(node + links * ChainUnits);
            for (size_t j = 0; j < links; ++j) {
                char16_t *n = FNodes.data() + node + j * ChainUnits;
                n[2] = j + 1 < links ? ChainNext : ChainEnd;
                n[3] = entry[depth + j];
            }
            store32(FNodes.data() + node, fail);
            return TPending{quint32(lo), quint32(hi), quint32(node), FDenseLimit + quint32(node)};
        }
        children.clear();
        for (size_t k = lo; k < hi; k = runEnd(k, hi, depth))
            if (!rowed || sorted[k][depth] >= 128)
                children.push_back(sorted[k][depth]);
        if (children.size() > MaxChildren || node + nodeUnits(children.size()) >= size_t(Match - FDenseLimit))
            throw std::length_error("block list too large for the URL matcher");
        FNodes.resize(node + nodeUnits(children.size()));
        store32(FNodes.data() + node, fail);
        FNodes[node + 2] = char16_t(children.size());
        std::copy(children.begin(), children.end(), FNodes.begin() + qsizetype(node) + 3);
        if (!rowed)
            return TPending{quint32(lo), quint32(hi), quint32(node), FDenseLimit + quint32(node)};
        FRowNode.push_back(quint32(node));
        FDense.resize(FDense.size() + FClasses);
        return TPending{quint32(lo), quint32(hi), quint32(node), row * FClasses};
    };

    // Breadth first, a level at a time: a failure reference always leads to a shallower state,
    // whose moves are complete by then.
    std::vector<TPending> level{addState(0, sorted.size(), 0, 0)};
    std::vector<TPending> next;
    std::vector<quint32> chain;
    for (size_t depth = 0; !level.empty(); ++depth) {
        next.clear();
        for (size_t i = 0; i < level.size(); ++i) {
            // The nodes of a level and the failure moves below read memory far apart; asking for a
            // later state's node, and once that is there for its first failure move, early lets
            // those reads overlap.
            if (i + 2 * PrefetchAhead < level.size())
                prefetch(FNodes.data() + level[i + 2 * PrefetchAhead].Node);
            if (depth > 0 && i + PrefetchAhead < level.size()) {
                const TPending &later = level[i + PrefetchAhead];
                const char16_t *node = FNodes.data() + later.Node;
                const quint32 f = load32(node);
                const char16_t c = node[2] >= ChainEnd ? node[3] : sorted[later.Lo][depth];
                if (f >= FDenseLimit)
                    prefetch(FNodes.data() + (f - FDenseLimit));
                else if (c < 128)
                    prefetch(FDense.data() + f + FAsciiClass[c]);
            }
            const TPending &s = level[i];
            const quint32 fail = load32(FNodes.data() + s.Node);
            const bool rowed = s.Ref < FDenseLimit;
            if (rowed && depth > 0) {
                // The failure state's complete moves: the row of the first state with one along the
                // failure chain, overridden by the children of those before it, nearest last.
                chain.clear();
                quint32 f = fail;
                while (f >= FDenseLimit) {
                    chain.push_back(f);
                    f = load32(FNodes.data() + (f - FDenseLimit));
                }
                quint32 *row = FDense.data() + s.Ref;
                std::copy_n(FDense.data() + f, FClasses, row);
                for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
                    const char16_t *node = FNodes.data() + (*it - FDenseLimit);
                    if (node[2] >= ChainEnd) {
                        if (node[3] < 128)
                            row[FAsciiClass[node[3]]] = node[2] == ChainNext ? *it + ChainUnits : Match;
                        continue;
                    }
                    for (size_t i = 0; i < node[2]; ++i)
                        if (node[3 + i] < 128)
                            row[FAsciiClass[node[3 + i]]] = load32(node + targetsAt(node[2]) + 2 * i);
                }
            }
            char16_t *const link = FNodes.data() + s.Node;
            if (link[2] >= ChainEnd) {
                // One child, laid out next.
                const quint32 childFail = Step(fail, link[3]);
                if (link[2] == ChainEnd || childFail == Match) {
                    if (link[2] == ChainEnd && childFail != Match)
                        ++FPatternCount;
                    link[2] = ChainEnd;
                } else {
                    store32(link + ChainUnits, childFail);
                    ++FStateCount;
                    next.push_back(TPending{s.Lo, s.Hi, s.Node + ChainUnits, s.Ref + ChainUnits});
                }
                continue;
            }
            size_t slot = 0;
            for (size_t k = s.Lo; k < s.Hi;) {
                const char16_t c = sorted[k][depth];
                const size_t e = runEnd(k, s.Hi, depth);
                const quint32 childFail = depth == 0 ? 0 : Step(fail, c);
                quint32 target = Match;
                if (childFail != Match) {
                    if (sorted[k].size() == depth + 1) {
                        ++FPatternCount;
                    } else {
                        next.push_back(addState(k, e, depth + 1, childFail));
                        target = next.back().Ref;
                    }
                }
                if (rowed && c < 128) {
                    FDense[size_t(s.Ref) + FAsciiClass[c]] = target;
                } else {
                    char16_t *node = FNodes.data() + s.Node;
                    while (node[3 + slot] != c)
                        ++slot;
                    store32(node + targetsAt(node[2]) + 2 * slot, target);
                }
                k = e;
            }
        }
        level.swap(next);
    }
    FNodes.shrink_to_fit();
    FDense.shrink_to_fit();
}

const char16_t *TUrlMatcher::NodeOf(quint32 ref) const
{
    return FNodes.data() + (ref < FDenseLimit ? FRowNode[ref / FClasses] : ref - FDenseLimit);
}

quint32 TUrlMatcher::SparseStep(quint32 ref, char16_t upper, quint32 cls) const
{
    // Follow failure references until a state has a child on the character or a row takes over.
    while (ref >= FDenseLimit) {
        const char16_t *node = FNodes.data() + (ref - FDenseLimit);
        quint32 target;
        if (findChild(node, ref, upper, target))
            return target;
        ref = load32(node);
    }
    return FDense[size_t(ref) + cls];
}

quint32 TUrlMatcher::WideStep(quint32 ref, char16_t upper) const
{
    if (!std::binary_search(FWideChars.begin(), FWideChars.end(), upper))
        return 0;
    for (;;) {
        const char16_t *node = NodeOf(ref);
        quint32 target;
        if (findChild(node, ref, upper, target))
            return target;
        if (ref == 0)
            return 0;
        ref = load32(node);
    }
}

quint32 TUrlMatcher::Step(quint32 ref, char16_t upper) const
{
    if (upper >= 128)
        return WideStep(ref, upper);
    const quint32 cls = FAsciiClass[upper];
    if (cls == 0)
        return 0;
    return ref < FDenseLimit ? FDense[size_t(ref) + cls] : SparseStep(ref, upper, cls);
}

inline quint32 TUrlMatcher::AsciiStep(quint32 ref, char16_t c) const
{
    // Class 0 (a character no entry holds) needs no test of its own on a row: its cell leads to the
    // start.
    const quint32 cls = FAsciiClass[c];
    if (ref < FDenseLimit)
        return FDense[size_t(ref) + cls];
    if (cls == 0)
        return 0;
    // Most steps off the rows go along a chain.
    const char16_t upper = asciiUpper(c);
    const char16_t *node = FNodes.data() + (ref - FDenseLimit);
    return node[2] == ChainNext && node[3] == upper ? ref + ChainUnits : SparseStep(ref, upper, cls);
}

bool TUrlMatcher::MatchesUpperFrom(const QString &upper, qsizetype from, quint32 ref) const
{
    const char16_t *p = reinterpret_cast<const char16_t *>(upper.constData());
    for (qsizetype i = from; i < upper.size(); ++i) {
        ref = p[i] < 128 ? AsciiStep(ref, p[i]) : WideStep(ref, p[i]);
        if (ref == Match)
            return true;
    }
    return false;
}

bool TUrlMatcher::MatchesInHalves(const char16_t *text, qsizetype length) const
{
    // Each step waits for the memory read of the one before, so two walks go side by side: one
    // from the start, one from the middle with the start state. The second sees only entries that
    // really occur, but misses those that begin in the first half; so the first walk then carries
    // on until it is in the state the second was in at the same place, from where the two would go
    // alike. That takes a few characters, the depth of the state.
    const qsizetype middle = length / 2;
    quint32 first = 0;
    quint32 second = 0;
    std::array<quint32, SyncWindow> seen;
    for (qsizetype i = 0; i < middle; ++i) {
        first = AsciiStep(first, text[i]);
        second = AsciiStep(second, text[middle + i]);
        if (first == Match || second == Match)
            return true;
        if (i < SyncWindow)
            seen[size_t(i)] = second;
    }
    if (length % 2 != 0) { // the second half is one longer
        second = AsciiStep(second, text[length - 1]);
        if (second == Match)
            return true;
        if (middle < SyncWindow)
            seen[size_t(middle)] = second;
    }
    const qsizetype compared = std::min(length - middle, SyncWindow);
    for (qsizetype k = 0; k < compared; ++k) {
        first = AsciiStep(first, text[middle + k]);
        if (first == Match)
            return true;
        if (first == seen[size_t(k)])
            return false;
    }
    // Not met within the window (a long partial match): the first walk goes on to the end alone.
    for (qsizetype j = middle + compared; j < length; ++j) {
        first = AsciiStep(first, text[j]);
        if (first == Match)
            return true;
    }
    return false;
}

bool TUrlMatcher::Matches(const QString &url) const
{
    if (url.isEmpty() || FStateCount == 0)
        return false;
    // ASCII is upper-cased on the fly. At the first other character the rest goes through toUpper,
    // as when building; the ASCII before it keeps its length there, so the walk carries on in place.
    const char16_t *p = reinterpret_cast<const char16_t *>(url.constData());
    const qsizetype n = url.size();
    if (n >= SplitFrom) {
        char16_t any = 0;
        for (qsizetype i = 0; i < n; ++i)
            any |= p[i];
        if (any < 128)
            return MatchesInHalves(p, n);
    }
    quint32 ref = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (c >= 128)
            return MatchesUpperFrom(url.toUpper(), i, ref);
        ref = AsciiStep(ref, c);
        if (ref == Match)
            return true;
    }
    return false;
}

qsizetype TUrlMatcher::MemoryUsage() const
{
    return qsizetype(sizeof(*this) + FDense.capacity() * sizeof(quint32) + FNodes.capacity() * sizeof(char16_t)
                     + FRowNode.capacity() * sizeof(quint32) + FWideChars.capacity() * sizeof(char16_t));
}
