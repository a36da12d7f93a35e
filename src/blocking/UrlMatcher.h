#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <vector>

// Memory for the automaton's large tables. Matching reads them at random, so on Linux they ask for
// transparent huge pages: with 4 KiB pages nearly every step would also miss the address cache (TLB).
struct THugePages
{
    static void *Allocate(std::size_t bytes);
    static void Free(void *p);
};

template <typename T>
struct THugePageAllocator
{
    using value_type = T;
    THugePageAllocator() = default;
    template <typename U>
    THugePageAllocator(const THugePageAllocator<U> &) {}
    T *allocate(std::size_t n) { return static_cast<T *>(THugePages::Allocate(n * sizeof(T))); }
    void deallocate(T *p, std::size_t) { THugePages::Free(p); }
    template <typename U>
    bool operator==(const THugePageAllocator<U> &) const { return true; }
    template <typename U>
    bool operator!=(const THugePageAllocator<U> &) const { return false; }
};

// Answers "does any entry occur in this URL, ignoring case" in time about proportional to the URL's
// length, whatever the number of entries. The result is exactly that of TLinearUrlMatcher: both sides
// are upper-cased with QString::toUpper (full Unicode, so "ß" becomes "SS") and compared as UTF-16
// code units; an empty entry or an empty URL never matches.
//
// Built once per list (an Aho-Corasick automaton over the upper-cased entries) and immutable after;
// a changed list means a new Rebuild.
class TUrlMatcher
{
public:
    // Memory for the rows of complete moves (see below) unless a build asks for other.
    static constexpr qsizetype DefaultRowBytes = 8 * 1024 * 1024;

    TUrlMatcher();
    explicit TUrlMatcher(const QStringList &entries, qsizetype rowBytes = DefaultRowBytes);

    // rowBytes trades memory for speed; the answers are the same whatever it is.
    void Rebuild(const QStringList &entries, qsizetype rowBytes = DefaultRowBytes);
    bool Matches(const QString &url) const;

    // Distinct non-empty upper-cased entries that can decide a match: an entry that contains another
    // entry is never looked for, since any URL holding it holds the other one too.
    qsizetype PatternCount() const { return FPatternCount; }
    // States the automaton keeps (those a match can still pass through), and how many have rows.
    qsizetype StateCount() const { return FStateCount; }
    qsizetype RowCount() const { return qsizetype(FRowNode.size()); }
    // Bytes held by the automaton.
    qsizetype MemoryUsage() const;

private:
    // Only a yes or no is wanted, so every state where an entry ends (or that has one as a suffix) is
    // the same final answer: moves into it give the reference Match, and nothing beyond it is kept.
    //
    // A state is named by a reference. Below FDenseLimit it is the offset of the state's row in
    // FDense: its complete moves on every ASCII character class, one read per step. Rows go to the
    // states where a URL spends most of its steps: breadth first, those a few characters deep and
    // deeper ones that several entries share. Any other reference is FDenseLimit plus the offset of
    // the state's node in FNodes (in UTF-16 units):
    //   failure reference (2 units), child count (1 unit), the children's characters in order,
    //   padding to an even offset, then the children's references (2 units each);
    // or, for the states along the rest of a single entry, a chain of links that follow each other:
    //   failure reference (2 units), a mark in place of the count, and the one child's character.
    // A state with a row has a node too, listing only its children beyond ASCII. Nodes lie in
    // breadth-first order, so the shallow ones that matching visits most share few cache lines.

    // URLs from this length on are walked in halves (see MatchesInHalves), the first walk comparing
    // its states with the second's over at most SyncWindow characters.
    static constexpr qsizetype SplitFrom = 24;
    static constexpr qsizetype SyncWindow = 64;

    // The move from ref on upper (an upper-cased character), following failure references.
    quint32 Step(quint32 ref, char16_t upper) const;
    // The same for an ASCII character in either case, and its parts off the rows and beyond ASCII.
    quint32 AsciiStep(quint32 ref, char16_t c) const;
    quint32 SparseStep(quint32 ref, char16_t upper, quint32 cls) const;
    quint32 WideStep(quint32 ref, char16_t upper) const;
    const char16_t *NodeOf(quint32 ref) const;
    // Matches for an all-ASCII text, walked as two halves at once.
    bool MatchesInHalves(const char16_t *text, qsizetype length) const;
    // Matches carried on from ref at from in an upper-cased URL.
    bool MatchesUpperFrom(const QString &upper, qsizetype from, quint32 ref) const;

    std::vector<quint32, THugePageAllocator<quint32>> FDense;
    std::vector<char16_t, THugePageAllocator<char16_t>> FNodes;
    std::vector<quint32> FRowNode; // node of each state with a row
    quint32 FDenseLimit = 0;
    quint32 FClasses = 1;
    // Class of each ASCII character's upper case; 0 for one no entry contains (back to the start).
    std::array<quint8, 128> FAsciiClass{};
    std::vector<char16_t> FWideChars; // sorted: the characters beyond ASCII that entries contain
    qsizetype FPatternCount = 0;
    qsizetype FStateCount = 0;
};
