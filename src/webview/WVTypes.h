#pragma once

#include <QString>
#include <QtGlobal>

// Values the web view layer passes to and from its owners, and the small rules on them that need no
// engine. The numbers are the ones callers store and compare (result codes, kinds, formats).

// Result codes of completions: zero or positive is success, negative is failure.
constexpr qint32 WV_S_OK = 0;
constexpr qint32 WV_E_FAIL = qint32(0x80004005);
constexpr qint32 WV_E_ABORT = qint32(0x80004004);
constexpr qint32 WV_E_NOTIMPL = qint32(0x80004001);
constexpr qint32 WV_E_INVALIDARG = qint32(0x80070057);
constexpr qint32 WV_E_UNEXPECTED = qint32(0x8000FFFF);

// Execution identifiers the browser component keeps for its own script jobs.
constexpr qint32 WV_ID_RETRIEVE_HTML = 10000;
constexpr qint32 WV_ID_RETRIEVE_TEXT = 10001;
// Identifiers of the component's own engine jobs; a completion carries them back.
constexpr qint32 WV_ID_RETRIEVE_MHTML = 10000;
constexpr qint32 WV_ID_CLEAR_CACHE = 10001;
constexpr qint32 WV_ID_CLEAR_DATA_FOR_ORIGIN = 10002;
constexpr qint32 WV_ID_SET_OFFLINE = 10003;
constexpr qint32 WV_ID_IGNORE_CERTIFICATE_ERRORS = 10004;
constexpr qint32 WV_ID_SIMULATE_KEY_EVENT = 10005;
constexpr qint32 WV_ID_REFRESH_IGNORE_CACHE = 10006;

enum TWVImageFormat { wvifPNG = 0, wvifJPEG = 1 };

enum TWVPrintStatus { wvpsSucceeded = 0, wvpsPrinterUnavailable = 1, wvpsOtherError = 2 };

enum TWVCertificateErrorAction { wvceaAlwaysAllow = 0, wvceaCancel = 1, wvceaDefault = 2 };

enum TWVPreferredColorScheme { wvpcsAuto = 0, wvpcsLight = 1, wvpcsDark = 2 };

enum TWVDownloadState { wvdsInProgress = 0, wvdsInterrupted = 1, wvdsCompleted = 2 };

enum TWVKeyEventKind { wvkeKeyDown, wvkeKeyUp };

// Storage types of ClearDataForOrigin, in this order.
enum TWVClearDataStorageTypes {
    cdstAppCache,
    cdstCookies,
    cdstFileSystems,
    cdstIndexeddb,
    cdstLocalStorage,
    cdstShaderCache,
    cdstWebsql,
    cdstServiceWorkers,
    cdstCacheStorage,
    cdstAll
};

// Browsing-data kinds of ClearBrowsingData, combined by OR.
enum TWVBrowsingDataKinds : quint32 {
    WV_BROWSING_DATA_KINDS_FILE_SYSTEMS = 1,
    WV_BROWSING_DATA_KINDS_INDEXED_DB = 2,
    WV_BROWSING_DATA_KINDS_LOCAL_STORAGE = 4,
    WV_BROWSING_DATA_KINDS_WEB_SQL = 8,
    WV_BROWSING_DATA_KINDS_CACHE_STORAGE = 16,
    WV_BROWSING_DATA_KINDS_ALL_DOM_STORAGE = 32,
    WV_BROWSING_DATA_KINDS_COOKIES = 64,
    WV_BROWSING_DATA_KINDS_ALL_SITE = 128,
    WV_BROWSING_DATA_KINDS_DISK_CACHE = 256,
    WV_BROWSING_DATA_KINDS_DOWNLOAD_HISTORY = 512,
    WV_BROWSING_DATA_KINDS_GENERAL_AUTOFILL = 1024,
    WV_BROWSING_DATA_KINDS_PASSWORD_AUTOSAVE = 2048,
    WV_BROWSING_DATA_KINDS_BROWSING_HISTORY = 4096,
    WV_BROWSING_DATA_KINDS_SETTINGS = 8192,
    WV_BROWSING_DATA_KINDS_ALL_PROFILE = 16384,
    WV_BROWSING_DATA_KINDS_SERVICE_WORKERS = 32768,
};

// What the engine keeps per origin and can be cleared for one origin; a set of these is a bit mask.
enum TWVOriginStorage : quint32 {
    wvosCookies = 1,
    wvosLocalStorage = 2,
    wvosIndexedDB = 4,
    wvosCacheStorage = 8,
    wvosServiceWorkers = 16,
    wvosFileSystems = 32,
    wvosWebSql = 64,
    wvosAllDom = wvosLocalStorage | wvosIndexedDB | wvosCacheStorage | wvosServiceWorkers | wvosFileSystems | wvosWebSql,
    wvosAll = wvosCookies | wvosAllDom,
};

// The profile-wide parts of ClearBrowsingData besides per-origin storage.
struct TWVBrowsingDataPlan
{
    quint32 OriginStorage = 0; // TWVOriginStorage bits to clear for every origin the profile has used
    bool DiskCache = false;
    bool BrowsingHistory = false;
    bool DownloadHistory = false; // the program's own list of downloads
};

namespace WVTypes {
// The word a storage type stands for in a clear-data request; anything outside 0 to 8 is "all".
QString StorageTypeName(int storageType);
// The origin storage a ClearDataForOrigin storage type covers (appcache and shader cache cover none:
// this engine keeps no application cache, and its shader cache belongs to no origin).
quint32 OriginStorageOf(int storageType);
// The storage types of the engine's clear-data command for TWVOriginStorage bits, comma separated.
QString ProtocolStorageTypes(quint32 originStorage);
// What ClearBrowsingData must do for a set of kinds.
TWVBrowsingDataPlan PlanBrowsingData(quint32 kinds);

// Whether a cookie of this domain is sent to the origin: a host-only cookie ("example.com") only to its
// own host, a domain cookie (".example.com") to that host and every host below it.
bool CookieReachesOrigin(const QString &cookieDomain, const QString &origin);
// The text of a page-retrieval script result: %XX sequences are UTF-8 bytes, everything else
// (a plus sign too) stands for itself.
QString DecodeRetrievedText(const QString &encoded);
// The virtual-key code owners compare shortcut keys with, for a Qt key; 0 for keys without one.
int VirtualKeyOf(int qtKey);
// The origin of an address as "scheme://host[:port]", lower case; empty when it has none.
QString OriginOf(const QString &address);
} // namespace WVTypes
