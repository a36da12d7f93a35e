// TWVBrowserBase: settings, zoom and the asynchronous operations.
#include "webview/WVBrowserBase.h"

#include "webview/WVBrowsingDataClearer.h"
#include "webview/WVDevToolsSession.h"
#include "webview/WVPage.h"
#include "webview/WVRequestInterceptor.h"
#include "webview/WVStorageClearer.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QJsonObject>
#include <QKeyEvent>
#include <QPageLayout>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {
// A page snapshot that the engine never starts (no document to save) must still complete.
constexpr int MhtmlTimeoutMs = 60000;

const char *ImageFormatName(int format)
{
    return format == wvifJPEG ? "JPG" : "PNG";
}
} // namespace

// Settings ------------------------------------------------------------------------------------------

bool TWVBrowserBase::ScriptEnabled() const
{
    return Initialized() && FPage->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled);
}

bool TWVBrowserBase::SetScriptEnabled(bool enabled)
{
    if (!Initialized())
        return false;
    FPage->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, enabled);
    return true;
}

bool TWVBrowserBase::SetStatusBarEnabled(bool enabled)
{
    if (!Initialized())
        return false;
    FStatusBarEnabled = enabled;
    UpdateStatusBubble();
    return true;
}

bool TWVBrowserBase::SetWebMessageEnabled(bool enabled)
{
    if (!Initialized())
        return false;
    FWebMessageEnabled = enabled;
    return true;
}

bool TWVBrowserBase::AreDefaultScriptDialogsEnabled() const
{
    return Initialized() && FPage->ScriptDialogsEnabled;
}

bool TWVBrowserBase::SetAreDefaultScriptDialogsEnabled(bool enabled)
{
    if (!Initialized())
        return false;
    FPage->ScriptDialogsEnabled = enabled;
    return true;
}

bool TWVBrowserBase::SetAreBrowserAcceleratorKeysEnabled(bool enabled)
{
    if (!Initialized())
        return false;
    FAcceleratorKeysEnabled = enabled;
    return true;
}

bool TWVBrowserBase::SetIsPasswordAutosaveEnabled(bool enabled)
{
    // This engine saves no passwords: off is what it does, on cannot be had.
    return Initialized() && !enabled;
}

bool TWVBrowserBase::IsVisible() const
{
    return Initialized() && FView->isVisible();
}

bool TWVBrowserBase::SetIsVisible(bool visible)
{
    if (!Initialized())
        return false;
    FView->setVisible(visible);
    return true;
}

QString TWVBrowserBase::DefaultDownloadFolderPath() const
{
    return Initialized() ? FProfile->downloadPath() : QString();
}

bool TWVBrowserBase::SetDefaultDownloadFolderPath(const QString &path)
{
    if (!Initialized() || path.isEmpty())
        return false;
    FProfile->setDownloadPath(path);
    return true;
}

bool TWVBrowserBase::SetPreferredColorScheme(int scheme)
{
    // Pages follow the desktop's colour scheme; this engine version cannot be told otherwise per profile.
    return Initialized() && scheme == wvpcsAuto;
}

bool TWVBrowserBase::SetHeaderTitle(const QString &title)
{
    Q_UNUSED(title)
    return false; // this engine prints no header or footer
}

bool TWVBrowserBase::SetShouldPrintHeaderAndFooter(bool print)
{
    return Initialized() && !print;
}

// Zoom ----------------------------------------------------------------------------------------------

double TWVBrowserBase::ZoomPct() const
{
    return Initialized() ? FPage->zoomFactor() * 100.0 : 0.0;
}

bool TWVBrowserBase::SetZoomPct(double pct)
{
    if (!Initialized() || !TZoomSteps::IsValidPct(pct))
        return false;
    const double before = ZoomPct();
    FPage->setZoomFactor(pct / 100.0);
    FZoomStep = quint8(TZoomSteps::StepOf(ZoomPct()));
    if (!qFuzzyCompare(before, ZoomPct()))
        Q_EMIT OnZoomFactorChanged();
    return true;
}

void TWVBrowserBase::ApplyZoomStep(int step)
{
    const double value = TZoomSteps::ValueOf(step);
    if (value <= 0)
        return;
    const double before = ZoomPct();
    FPage->setZoomFactor(value / 100.0);
    if (!qFuzzyCompare(before, ZoomPct()))
        Q_EMIT OnZoomFactorChanged();
}

bool TWVBrowserBase::SetZoomStep(int step)
{
    if (!Initialized() || step < TZoomSteps::ZOOM_STEP_MIN || step > TZoomSteps::ZOOM_STEP_MAX)
        return false;
    FZoomStep = quint8(step);
    ApplyZoomStep(step);
    return true;
}

bool TWVBrowserBase::IncZoomStep()
{
    if (!Initialized())
        return false;
    const int next = TZoomSteps::NextStep(FZoomStep, ZoomPct(), true);
    return next >= 0 && SetZoomStep(next);
}

bool TWVBrowserBase::DecZoomStep()
{
    if (!Initialized())
        return false;
    const int next = TZoomSteps::NextStep(FZoomStep, ZoomPct(), false);
    return next >= 0 && SetZoomStep(next);
}

bool TWVBrowserBase::ResetZoom()
{
    return SetZoomStep(TZoomSteps::ZOOM_STEP_DEF);
}

// Asynchronous operations ---------------------------------------------------------------------------

bool TWVBrowserBase::CapturePreview(int aImageFormat, QIODevice *aStream)
{
    if (!Initialized() || !aStream || !aStream->isWritable() || (aImageFormat != wvifPNG && aImageFormat != wvifJPEG))
        return false;
    QPointer<QIODevice> stream(aStream);
    Later([this, stream, aImageFormat] {
        const QImage image = FView ? FView->grab().toImage() : QImage();
        const bool ok = !image.isNull() && stream && image.save(stream.data(), ImageFormatName(aImageFormat));
        Q_EMIT OnCapturePreviewCompleted(ok ? WV_S_OK : WV_E_FAIL);
    });
    return true;
}

bool TWVBrowserBase::GetFavicon(int aFormat)
{
    if (!Initialized() || (aFormat != wvifPNG && aFormat != wvifJPEG))
        return false;
    Later([this, aFormat] {
        const QIcon icon = FPage ? FPage->icon() : QIcon();
        QByteArray bytes;
        if (!icon.isNull()) {
            QSize largest;
            const QList<QSize> sizes = icon.availableSizes();
            for (const QSize &size : sizes)
                if (size.width() * size.height() > largest.width() * largest.height())
                    largest = size;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            if (!icon.pixmap(largest.isValid() ? largest : QSize(32, 32)).toImage().save(&buffer, ImageFormatName(aFormat))) {
                Q_EMIT OnGetFaviconCompleted(WV_E_FAIL, QByteArray());
                return;
            }
        }
        // A page without an icon gives an empty image.
        Q_EMIT OnGetFaviconCompleted(WV_S_OK, bytes);
    });
    return true;
}

bool TWVBrowserBase::Print()
{
    if (!Initialized() || FPrinter)
        return false;
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) {
        Later([this] { Q_EMIT OnPrintCompleted(WV_S_OK, wvpsPrinterUnavailable); });
        return true;
    }
    FPrinter = std::make_unique<QPrinter>(printer, QPrinter::HighResolution);
    FView->print(FPrinter.get());
    return true;
}

bool TWVBrowserBase::PrintToPdf(const QString &aResultFilePath)
{
    // One PDF at a time: the engine reports the end of each by its file name.
    if (!Initialized() || aResultFilePath.isEmpty() || !FPdfPath.isEmpty())
        return false;
    FPdfPath = aResultFilePath;
    FPage->printToPdf(aResultFilePath, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                                   QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    return true;
}

bool TWVBrowserBase::RetrieveHTML()
{
    return ExecuteScript(QStringLiteral("encodeURI(document.documentElement.outerHTML);"), WV_ID_RETRIEVE_HTML);
}

bool TWVBrowserBase::RetrieveText()
{
    return ExecuteScript(QStringLiteral("encodeURI(document.body.textContent);"), WV_ID_RETRIEVE_TEXT);
}

bool TWVBrowserBase::RetrieveMHTML()
{
    if (!Initialized() || FMhtmlDir)
        return false;
    auto dir = std::make_unique<QTemporaryDir>();
    if (!dir->isValid())
        return false;
    FMhtmlDir = std::move(dir);
    FMhtmlPath = FMhtmlDir->filePath(QStringLiteral("page.mhtml"));
    // The engine writes the snapshot as a download of this page, which HandleDownload picks up.
    FPage->save(FMhtmlPath, QWebEngineDownloadRequest::MimeHtmlSaveFormat);
    const QString path = FMhtmlPath;
    QTimer::singleShot(MhtmlTimeoutMs, this, [this, path] {
        if (FMhtmlPath == path)
            FinishMhtml(false);
    });
    return true;
}

void TWVBrowserBase::FinishMhtml(bool ok)
{
    if (FMhtmlPath.isEmpty())
        return;
    QString text;
    if (ok) {
        QFile file(FMhtmlPath);
        ok = file.open(QIODevice::ReadOnly);
        if (ok)
            text = QString::fromUtf8(file.readAll());
    }
    ok = ok && !text.isEmpty();
    FMhtmlPath.clear();
    FMhtmlDownload.clear();
    FMhtmlDir.reset();
    Later([this, ok, text] { Q_EMIT OnRetrieveMHTMLCompleted(ok, ok ? text : QString()); });
}

TWVDevToolsSession *TWVBrowserBase::DevTools()
{
    if (!FDevTools && FProfile)
        FDevTools = new TWVDevToolsSession(FProfile, this);
    return FDevTools.data();
}

bool TWVBrowserBase::ClearBrowsingData(quint32 aDataKinds, qint32 *aRequestId)
{
    if (!Initialized())
        return false;
    const qint32 id = FNextClearId++;
    auto *clearer = new TWVBrowsingDataClearer(FProfile, DevTools(), aDataKinds, this);
    connect(clearer, &TWVBrowsingDataClearer::Finished, this, [this, clearer, id](qint32 code) {
        clearer->deleteLater();
        QPointer<TWVBrowserBase> self(this);
        Q_EMIT OnClearBrowsingDataRequestCompleted(id, code);
        if (self)
            Q_EMIT OnClearBrowsingDataCompleted(code);
    });
    if (!clearer->Start()) {
        delete clearer;
        return false;
    }
    if (aRequestId)
        *aRequestId = id;
    return true;
}

bool TWVBrowserBase::ClearBrowsingDataAll()
{
    return ClearBrowsingData(WV_BROWSING_DATA_KINDS_ALL_PROFILE);
}

bool TWVBrowserBase::ClearDataForOrigin(const QString &aOrigin, int aStorageTypes)
{
    if (!Initialized())
        return false;
    auto *clearer =
        new TWVStorageClearer(FProfile, DevTools(), aOrigin, WVTypes::OriginStorageOf(aStorageTypes), this);
    connect(clearer, &TWVStorageClearer::Finished, this, [this, clearer](bool success) {
        clearer->deleteLater();
        Q_EMIT OnClearDataForOriginCompleted(success);
    });
    if (!clearer->Start()) {
        // Not an origin: the request is taken and fails, as an engine answers a malformed origin.
        delete clearer;
        Later([this] { Q_EMIT OnClearDataForOriginCompleted(false); });
    }
    return true;
}

bool TWVBrowserBase::ClearCache()
{
    if (!Initialized())
        return false;
    // The profile's own call reports no end in Qt 6.4; the engine's command answers once it is done.
    DevTools()->Send(QStringLiteral("Network.clearBrowserCache"), QJsonObject(), this,
                     [this](bool ok, const QString &) { Q_EMIT OnClearCacheCompleted(ok); });
    return true;
}

bool TWVBrowserBase::SetOffline(bool offline)
{
    // Only a change is sent, and the new value is kept before the completion comes.
    if (!Initialized() || offline == FOffline)
        return false;
    FOffline = offline;
    FInterceptor->Offline = offline;
    Later([this] { Q_EMIT OnOfflineCompleted(true); });
    return true;
}

bool TWVBrowserBase::SetIgnoreCertificateErrors(bool ignore)
{
    // Ignoring every certificate error would accept any impostor; each error is decided on its own
    // through OnServerCertificateErrorDetected instead.
    return Initialized() && !ignore;
}

bool TWVBrowserBase::SimulateKeyEvent(int aKind, int aQtKey, Qt::KeyboardModifiers aModifiers, const QString &aText)
{
    if (!Initialized() || (aKind != wvkeKeyDown && aKind != wvkeKeyUp))
        return false;
    QWidget *target = FView->focusProxy();
    if (!target)
        return false; // nothing rendered yet to receive keys
    QKeyEvent event(aKind == wvkeKeyDown ? QEvent::KeyPress : QEvent::KeyRelease, aQtKey, aModifiers, aText);
    QCoreApplication::sendEvent(target, &event);
    Later([this] { Q_EMIT OnSimulateKeyEventCompleted(true); });
    return true;
}

bool TWVBrowserBase::RefreshIgnoreCache()
{
    if (!Initialized())
        return false;
    FPage->triggerAction(QWebEnginePage::ReloadAndBypassCache);
    Later([this] { Q_EMIT OnRefreshIgnoreCacheCompleted(true); });
    return true;
}

bool TWVBrowserBase::AddBrowserExtension(const QString &aExtensionFolderPath)
{
    Q_UNUSED(aExtensionFolderPath)
    return false; // this engine has no extension support; the program keeps its extensions itself
}

bool TWVBrowserBase::GetBrowserExtensions()
{
    return false;
}
