#pragma once

#include <QString>
#include <QUrl>
#include <functional>

// The kind of a web request, as owners register filters for and see requests. Numbers as stored by
// callers: 0 is every kind.
enum TWVWebResourceContext {
    wvrcAll = 0,
    wvrcDocument = 1,
    wvrcStylesheet = 2,
    wvrcImage = 3,
    wvrcMedia = 4,
    wvrcFont = 5,
    wvrcScript = 6,
    wvrcXmlHttpRequest = 7,
    wvrcFetch = 8,
    wvrcTextTrack = 9,
    wvrcEventSource = 10,
    wvrcWebsocket = 11,
    wvrcManifest = 12,
    wvrcSignedExchange = 13,
    wvrcPing = 14,
    wvrcCspViolationReport = 15,
    wvrcOther = 16,
};

// One request of a page, as a plain value: what a request rule looks at.
struct TWVResourceRequest
{
    QUrl Url;
    // The address of the top-level page the request belongs to.
    QUrl FirstPartyUrl;
    // The origin that started the request; empty for a navigation the user started.
    QUrl Initiator;
    QString Method;
    TWVWebResourceContext Context = wvrcOther;
};

// Decides on a request handed over by a web view: true refuses it.
using TWVRequestFilter = std::function<bool(const TWVResourceRequest &request)>;
