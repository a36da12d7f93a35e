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
    TUrlMatcher();
    explicit TUrlMatcher(const QStringList &entries);

    void Rebuild(const QStringList &entries);
    bool Matches(const QString &url) const;

    // Distinct non-empty upper-cased entries that can decide a match (an entry that has another
    // entry as its prefix never needs to be looked for separately).
    qsizetype PatternCount() const { return FPatternCount; }
    qsizetype StateCount() const { return qsizetype(FStates.size()); }
    // Bytes held by the automaton.
    qsizetype MemoryUsage() const;

private:
    // A state of the automaton. States are numbered depth-first, so a state's first child is the
    // next state and a chain of single children lies side by side in memory: most steps through a
    // long entry read the neighbouring record.
    struct TState
    {
        quint32 Link = 0;  // Count >= 2: first of its edges in FEdgeChar/FEdgeTarget; Dense: its row
        quint32 Fail = 0;  // failure state; MatchBit: reaching this state means an entry was found
        char16_t Via = 0;  // the character that leads into this state
        quint16 Count = 0; // children; Dense for a state with a row of complete moves
    };
    static constexpr quint32 MatchBit = 0x80000000u;
    static constexpr quint16 Dense = 0xFFFF;

    quint32 ClassOf(char16_t c) const;
    // The automaton's move from state on c of class cls (not 0).
    quint32 Step(quint32 state, char16_t c, quint32 cls) const;
    bool MatchesUpper(const char16_t *text, qsizetype length) const;

    std::vector<TState, THugePageAllocator<TState>> FStates;
    // Children of states with two or more, sorted by character.
    std::vector<char16_t, THugePageAllocator<char16_t>> FEdgeChar;
    std::vector<quint32, THugePageAllocator<quint32>> FEdgeTarget;
    // Complete moves of the shallowest states (the ones a URL passes through most), one row of
    // FClasses cells each, so such a move costs one table read.
    std::vector<quint32, THugePageAllocator<quint32>> FDense;
    quint32 FClasses = 1;
    // Character classes: 0 for a character no entry contains (it always leads back to the start).
    std::array<quint16, 128> FAsciiClass{};
    std::vector<char16_t> FWideChars; // sorted; class = FFirstWideClass + index
    quint32 FFirstWideClass = 1;
    qsizetype FPatternCount = 0;
};
