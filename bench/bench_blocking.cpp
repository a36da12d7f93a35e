// The cost of one filtering decision (whitelist check of the page, then block-list check of the
// request) with the index (TUrlMatcher) and with the literal scan (TLinearUrlMatcher), measured in
// the same run on the same lists and URLs.
//
// Lists: every network rule of EasyList and EasyPrivacy turned loosely into a fragment (options,
// anchors and exceptions dropped, "^" read as "/", the longest piece between "*" kept, pieces under
// 3 characters and pieces found in any plain URL dropped). That gives about 100,000 fragments in the
// shape a user's list has; the faithful, smaller conversion that ships with the program is
// scripts/make-default-lists.sh.
// URLs: generated from a fixed seed in the shape of real page and request URLs, a fifth of the
// requests blocked, one in twenty with non-ASCII text.

#include "blocking/LinearUrlMatcher.h"
#include "blocking/UrlMatcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct TRequest
{
    QString Page;
    QString Url;
};

struct TStats
{
    double Median = 0;
    double P99 = 0;
    double Mean = 0;
};

TStats statsOf(std::vector<double> ns)
{
    TStats s;
    if (ns.empty())
        return s;
    std::sort(ns.begin(), ns.end());
    s.Median = ns[ns.size() / 2];
    s.P99 = ns[std::min(ns.size() - 1, size_t(double(ns.size()) * 0.99))];
    double sum = 0;
    for (double v : ns)
        sum += v;
    s.Mean = sum / double(ns.size());
    return s;
}

QStringList loadFragments(const QString &folder)
{
    QSet<QString> seen;
    QStringList fragments;
    for (const QString &name : {u"easylist.txt"_qs, u"easyprivacy.txt"_qs}) {
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s; run bench/run-blocking.sh\n", qPrintable(file.fileName()));
            return {};
        }
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        for (QString line : lines) {
            line = line.trimmed();
            if (line.isEmpty() || line.startsWith(u'!') || line.startsWith(u'['))
                continue;
            if (line.contains(u"##"_qs) || line.contains(u"#@#"_qs) || line.contains(u"#?#"_qs)
                || line.contains(u"#$#"_qs) || line.contains(u"#%#"_qs) || line.contains(u"#+js"_qs))
                continue;
            if (line.startsWith(u"@@"_qs))
                line.remove(0, 2);
            const qsizetype options = line.lastIndexOf(u'$');
            if (options >= 0)
                line.truncate(options);
            if (line.size() > 2 && line.startsWith(u'/') && line.endsWith(u'/'))
                continue;
            while (line.startsWith(u'|'))
                line.remove(0, 1);
            while (line.endsWith(u'|'))
                line.chop(1);
            line.replace(u'^', u'/');
            QString best;
            for (const QString &piece : line.split(u'*', Qt::SkipEmptyParts))
                if (piece.size() > best.size())
                    best = piece;
            // Loose conversion leaves a few pieces such as "http" or "://www." that occur in every URL;
            // a user's list would not hold them, and they would make every decision trivial.
            static const QString neutral[] = {u"https://www.example.org/index.html?id=1&lang=en"_qs,
                                              u"http://cdn.example.net/assets/app.js?v=2"_qs};
            const bool universal = std::any_of(std::begin(neutral), std::end(neutral), [&](const QString &url) {
                return url.contains(best, Qt::CaseInsensitive);
            });
            if (best.size() >= 3 && !universal && !seen.contains(best)) {
                seen.insert(best);
                fragments << best;
            }
        }
    }
    return fragments;
}

class TUrlMaker
{
public:
    explicit TUrlMaker(quint32 seed) : FRng(seed) {}

    QString Word()
    {
        static const char *const syllables[] = {"ka", "lo", "mi", "ren", "sto", "via", "nor", "del", "tra",
                                                "pen", "qua", "zu", "bel", "cor", "fin", "gro", "ly", "mo"};
        QString w;
        for (int n = 2 + int(FRng.bounded(3)); n > 0; --n)
            w += QLatin1String(syllables[FRng.bounded(int(std::size(syllables)))]);
        return w;
    }
    QString Tld()
    {
        static const char *const tlds[] = {"com", "org", "net", "de", "co.uk", "io", "fr", "com.br"};
        return QLatin1String(tlds[FRng.bounded(int(std::size(tlds)))]);
    }
    QString Hex(int n)
    {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QLatin1Char("0123456789abcdef"[FRng.bounded(16)]);
        return s;
    }
    QString NonAsciiWord()
    {
        static const QString words[] = {u"Straße"_qs, u"İstanbul"_qs, u"новости"_qs, u"記事"_qs,
                                        u"café-crème"_qs, u"ﬁnanzen"_qs, u"Ελλάδα"_qs, u"größe"_qs};
        return words[FRng.bounded(int(std::size(words)))];
    }
    QString Site() { return Word() + u'.' + Tld(); }

    QString Page()
    {
        const QString site = Site();
        const bool foreign = FRng.bounded(20) == 0;
        QString url = u"https://www."_qs + site + u'/' + Word() + u'/' + (foreign ? NonAsciiWord() : Word())
            + u'-' + QString::number(FRng.bounded(100000));
        if (FRng.bounded(3) == 0)
            url += u"?id="_qs + QString::number(FRng.bounded(1000000)) + u"&utm_source="_qs + Word();
        else
            url += u".html"_qs;
        return url;
    }

    QString Resource()
    {
        const QString site = Site();
        switch (FRng.bounded(5)) {
        case 0:
            return u"https://static."_qs + site + u"/assets/"_qs + Word() + u'.' + Hex(8) + u".js"_qs;
        case 1:
            return u"https://cdn."_qs + Word() + u".net/img/"_qs
                + (FRng.bounded(20) == 0 ? NonAsciiWord() : Word()) + u'-' + QString::number(FRng.bounded(2000))
                + u'x' + QString::number(FRng.bounded(2000)) + u".jpg"_qs;
        case 2:
            return u"https://fonts."_qs + site + u"/css2?family="_qs + Word() + u"+Sans:wght@400;700&display=swap"_qs;
        case 3:
            return u"https://api."_qs + site + u"/v2/"_qs + Word() + u"?page="_qs
                + QString::number(FRng.bounded(50)) + u"&lang=de&session="_qs + Hex(16);
        default:
            return u"https://www."_qs + site + u"/wp-content/themes/"_qs + Word() + u"/style.css?ver="_qs
                + QString::number(FRng.bounded(10)) + u'.' + QString::number(FRng.bounded(10));
        }
    }

    // A request that some fragment occurs in, built the way such requests look.
    QString Listed(const QStringList &fragments)
    {
        const QString &f = fragments.at(FRng.bounded(int(fragments.size())));
        if (f.endsWith(u'/') && f.indexOf(u'/') == f.size() - 1 && f.contains(u'.'))
            return u"https://"_qs + f + Word() + u'/' + Hex(6) + u".js?cb="_qs + QString::number(FRng.bounded(1000000));
        return u"https://www."_qs + Site() + u'/' + Word() + f + Hex(4);
    }

    quint32 Bounded(quint32 n) { return FRng.bounded(n); }

private:
    QRandomGenerator FRng;
};

double nsSince(Clock::time_point t0)
{
    return double(std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - t0).count());
}

volatile bool Sink = false;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString dataFolder = QDir(QCoreApplication::applicationDirPath()).filePath(u"../../bench/data"_qs);
    int urlCount = 20000;
    int linearSample = 300;
    quint32 seed = 20240611;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--data"_qs)
            dataFolder = args[i + 1];
        else if (args[i] == u"--urls"_qs)
            urlCount = args[i + 1].toInt();
        else if (args[i] == u"--linear-sample"_qs)
            linearSample = args[i + 1].toInt();
        else if (args[i] == u"--seed"_qs)
            seed = args[i + 1].toUInt();
    }

    const QStringList fragments = loadFragments(dataFolder);
    if (fragments.isEmpty())
        return 1;

    TUrlMaker maker(seed);
    // A whitelist of typical size: pages of other sites and the program's own pages.
    QStringList whitelist{u"orbwell://"_qs, u"://optout.networkadvertising.org/"_qs};
    for (int i = 0; i < 100; ++i)
        whitelist << u"https://www."_qs + maker.Site() + u'/';

    // Build time: median of several builds of the same list.
    std::vector<double> buildNs;
    TUrlMatcher blockIndex;
    for (int i = 0; i < 7; ++i) {
        const auto t0 = Clock::now();
        blockIndex.Rebuild(fragments);
        buildNs.push_back(nsSince(t0));
    }
    const TUrlMatcher whiteIndex(whitelist);
    const TLinearUrlMatcher blockLinear(fragments);
    const TLinearUrlMatcher whiteLinear(whitelist);

    // Requests: exactly a fifth blocked, as the index classifies them.
    std::vector<TRequest> requests;
    const int wantBlocked = urlCount / 5;
    int blocked = 0;
    int nonAscii = 0;
    while (int(requests.size()) < urlCount) {
        const bool tryListed = maker.Bounded(5) == 0;
        TRequest r{maker.Page(), tryListed ? maker.Listed(fragments) : maker.Resource()};
        // Pages are never whitelisted here, so every decision pays for both checks.
        if (whiteIndex.Matches(r.Page))
            continue;
        const bool isBlocked = blockIndex.Matches(r.Url);
        if (isBlocked ? blocked >= wantBlocked : int(requests.size()) - blocked >= urlCount - wantBlocked)
            continue;
        blocked += isBlocked ? 1 : 0;
        const auto ascii = [](const QString &s) {
            return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 128; });
        };
        nonAscii += (!ascii(r.Page) || !ascii(r.Url)) ? 1 : 0;
        requests.push_back(std::move(r));
    }
    // Shuffle so blocked and passed requests interleave as they do on a page.
    for (size_t i = requests.size() - 1; i > 0; --i)
        std::swap(requests[i], requests[maker.Bounded(quint32(i + 1))]);

    const auto decideIndex = [&](const TRequest &r) {
        return !whiteIndex.Matches(r.Page) && blockIndex.Matches(r.Url);
    };
    const auto decideLinear = [&](const TRequest &r) {
        return !whiteLinear.Matches(r.Page) && blockLinear.Matches(r.Url);
    };

    // Index over every request, several passes after a warm-up pass.
    for (const TRequest &r : requests)
        Sink = decideIndex(r);
    std::vector<double> indexNs;
    indexNs.reserve(requests.size() * 5);
    for (int pass = 0; pass < 5; ++pass)
        for (const TRequest &r : requests) {
            const auto t0 = Clock::now();
            Sink = decideIndex(r);
            indexNs.push_back(nsSince(t0));
        }
    // The two checks of a decision on their own (the block-list check for every request, as when
    // the page is not whitelisted).
    std::vector<double> whiteNs;
    std::vector<double> blockNs;
    whiteNs.reserve(requests.size() * 2);
    blockNs.reserve(requests.size() * 2);
    for (int pass = 0; pass < 2; ++pass)
        for (const TRequest &r : requests) {
            auto t0 = Clock::now();
            Sink = whiteIndex.Matches(r.Page);
            whiteNs.push_back(nsSince(t0));
            t0 = Clock::now();
            Sink = blockIndex.Matches(r.Url);
            blockNs.push_back(nsSince(t0));
        }
    std::vector<double> clockNs;
    for (int i = 0; i < 100000; ++i) {
        const auto t0 = Clock::now();
        clockNs.push_back(nsSince(t0));
    }

    // The literal scan costs milliseconds per decision, so it runs on an evenly spread sample; the
    // index is timed again on the same sample for the ratio, and both must decide alike.
    std::vector<double> linearNs;
    std::vector<double> indexSampleNs;
    int agree = 0;
    const size_t step = std::max<size_t>(1, requests.size() / size_t(std::max(1, linearSample)));
    int sampleBlocked = 0;
    for (size_t i = 0; i < requests.size() && int(linearNs.size()) < linearSample; i += step) {
        const TRequest &r = requests[i];
        auto t0 = Clock::now();
        const bool literal = decideLinear(r);
        linearNs.push_back(nsSince(t0));
        bool indexed = false;
        for (int k = 0; k < 5; ++k) {
            t0 = Clock::now();
            indexed = decideIndex(r);
            indexSampleNs.push_back(nsSince(t0));
        }
        agree += literal == indexed ? 1 : 0;
        sampleBlocked += literal ? 1 : 0;
    }

    const TStats build = statsOf(buildNs);
    const TStats index = statsOf(indexNs);
    const TStats indexSample = statsOf(indexSampleNs);
    const TStats linear = statsOf(linearNs);
    const TStats clock = statsOf(clockNs);
    const TStats white = statsOf(whiteNs);
    const TStats block = statsOf(blockNs);
    qsizetype entryBytes = 0;
    for (const QString &f : fragments)
        entryBytes += f.size() * 2;

    std::printf("Block list: %lld fragments (%lld bytes of text); whitelist: %lld entries\n",
                qlonglong(fragments.size()), qlonglong(entryBytes), qlonglong(whitelist.size()));
    std::printf("Requests: %zu, blocked %d (%.1f%%), with non-ASCII text %d\n", requests.size(), blocked,
                100.0 * blocked / double(requests.size()), nonAscii);
    std::printf("\nIndex build: median %.1f ms (min %.1f ms over %zu builds); %lld patterns, %lld states"
                " (%lld with rows)\n",
                build.Median / 1e6, *std::min_element(buildNs.begin(), buildNs.end()) / 1e6, buildNs.size(),
                qlonglong(blockIndex.PatternCount()), qlonglong(blockIndex.StateCount()),
                qlonglong(blockIndex.RowCount()));
    std::printf("Index memory: %.1f MiB (block list) + %.1f KiB (whitelist)\n",
                double(blockIndex.MemoryUsage()) / (1024.0 * 1024.0), double(whiteIndex.MemoryUsage()) / 1024.0);
    std::printf("\nPer decision (whitelist check of the page + block-list check of the request), ns:\n");
    std::printf("  %-34s %10s %10s %10s %8s\n", "", "median", "p99", "mean", "samples");
    std::printf("  %-34s %10.0f %10.0f %10.0f %8zu\n", "index, all requests", index.Median, index.P99, index.Mean,
                indexNs.size());
    std::printf("  %-34s %10.0f %10.0f %10.0f %8zu\n", "index, linear sample", indexSample.Median, indexSample.P99,
                indexSample.Mean, indexSampleNs.size());
    std::printf("  %-34s %10.0f %10.0f %10.0f %8zu\n", "linear scan, linear sample", linear.Median, linear.P99,
                linear.Mean, linearNs.size());
    std::printf("  %-34s %10.0f %10.0f %10.0f %8zu\n", "index, whitelist check alone", white.Median, white.P99,
                white.Mean, whiteNs.size());
    std::printf("  %-34s %10.0f %10.0f %10.0f %8zu\n", "index, block-list check alone", block.Median, block.P99,
                block.Mean, blockNs.size());
    std::printf("  %-34s %10.0f %10.0f %10.0f %8zu\n", "(clock read alone)", clock.Median, clock.P99, clock.Mean,
                clockNs.size());
    std::printf("\nLinear sample: %zu requests, %d blocked; index and linear scan agree on %d of them\n",
                linearNs.size(), sampleBlocked, agree);
    const double ratioMedian = linear.Median / indexSample.Median;
    const double ratioMean = linear.Mean / indexSample.Mean;
    std::printf("Speed-up of the index over the linear scan: %.0fx by median, %.0fx by mean\n", ratioMedian, ratioMean);

    std::printf("\nTargets: index >= 1000x linear: %s; median decision < 1 us: %s; build < 100 ms: %s\n",
                ratioMedian >= 1000 ? "met" : "MISSED", index.Median < 1000 ? "met" : "MISSED",
                build.Median < 100e6 ? "met" : "MISSED");
    return agree == int(linearNs.size()) ? 0 : 2;
}
