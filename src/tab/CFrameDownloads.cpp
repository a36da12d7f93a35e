// Downloads a tab starts: counting them for the main window, the target file (asked for when the
// settings say so), and the tab's download pop-up.
#include "tab/CFrame.h"

#include "look/GradientTabBar.h"
#include "shell/Parent.h"
#include "shell/PublisherPages.h"
#include "tab/AddressEdit.h"
#include "tab/DownloadPopup.h"
#include "tab/DownloadTracker.h"
#include "tab/FileNames.h"
#include "webview/WVBrowser.h"
#include "webview/WVDownloadOperation.h"
#include "webview/WVWindowParent.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>

namespace {
const QString BlankPage = QStringLiteral("about:blank");
}

void TFrameChild::ConnectDownloads()
{
    connect(WVBrowser1, &TWVBrowser::OnAfterCreated, this, [this] {
        // The profile does not keep the folder between runs; the settings do.
        if (frmParent && !frmParent->Settings.FDefaultDownloadFolder.isEmpty())
            WVBrowser1->SetDefaultDownloadFolderPath(frmParent->Settings.FDefaultDownloadFolder);
    });
    connect(WVBrowser1, &TWVBrowser::OnDownloadStarting, this,
            [this](TWVDownloadStartingArgs &args) { WVBrowser1DownloadStarting(args); });
    connect(WVBrowser1, &TWVBrowser::OnDownloadStateChanged, this,
            [this](TWVDownloadOperation *operation, qint32 id) { WVBrowser1DownloadStateChanged(operation, id); });
    connect(WVBrowser1, &TWVBrowser::OnGotFocus, this, [this] {
        // Like the engine's own pop-up, it goes when the page is used again, once nothing runs.
        if (FDownloadPopup && !FDownloadPopup->HasRunning())
            FDownloadPopup->hide();
    });
}

void TFrameChild::WVBrowser1DownloadStarting(TWVDownloadStartingArgs &args)
{
    if (!frmParent)
        return;
    TDownloadTracker *tracker = TDownloadTracker::For(frmParent);
    const quint64 key = tracker->Start();
    const QString folder = WVBrowser1->DefaultDownloadFolderPath();
    // The server's name never leaves the folder nor replaces a file there.
    const QString name = TFileNames::SafeFileName(args.ResultFilePath);
    QString target;
    QDir().mkpath(folder);

    if (frmParent->Settings.FAskForDownloads && !isContextMenuEnabled) {
        args.Handled = false;
        // The dialog lets every event run; the tab may be closed meanwhile, taking the dialog with it.
        QPointer<TFrameChild> self(this);
        QPointer<TDownloadTracker> guardedTracker(tracker);
        QPointer<QFileDialog> SaveDialog2 = new QFileDialog(this, QStringLiteral("Select Download Directory"), folder);
        SaveDialog2->setObjectName(QStringLiteral("SaveDialog2"));
        SaveDialog2->setAcceptMode(QFileDialog::AcceptSave);
        SaveDialog2->setFileMode(QFileDialog::AnyFile);
        SaveDialog2->setNameFilter(TFileNames::DownloadFilter);
        QCoreApplication::processEvents();
        SaveDialog2->selectFile(name);
        QCoreApplication::processEvents();
        const bool confirmed = SaveDialog2 && SaveDialog2->exec() == QDialog::Accepted && SaveDialog2
                               && !SaveDialog2->selectedFiles().value(0).isEmpty();
        const QString chosen = confirmed ? SaveDialog2->selectedFiles().constFirst() : QString();
        delete SaveDialog2.data();
        if (!self) {
            if (guardedTracker)
                guardedTracker->GiveBack(key);
            return;
        }
        if (!confirmed) {
            args.Cancel = true;
            tracker->GiveBack(key);
            if (edtAddress->text() == BlankPage) {
                // The tab was opened only for this download. It is closed once the engine has its answer:
                // closing it now would free the component that is raising this event.
                frmParent->CloseTabOf(this);
                frmParent->isContextMenuEnabledParent = false;
                return;
            }
        } else if (!tracker->IsBeingWritten(chosen)) {
            // The user chose this file and the dialog asked before replacing it.
            target = chosen;
        } else {
            // Another download still writes there; the two must not end up in one file.
            const QFileInfo info(chosen);
            target = TFileNames::UniqueFilePath(info.absolutePath(), info.fileName(),
                                                [tracker](const QString &path) { return tracker->IsTaken(path); });
            if (target.isEmpty()) {
                args.Cancel = true;
                tracker->GiveBack(key);
            }
        }
    } else {
        target = TFileNames::UniqueFilePath(folder, name, [tracker](const QString &path) { return tracker->IsTaken(path); });
        if (target.isEmpty()) {
            qWarning("Download: no free file name for %s in %s", qUtf8Printable(name), qUtf8Printable(folder));
            args.Cancel = true;
            tracker->GiveBack(key);
        }
    }

    if (!args.Cancel) {
        args.ResultFilePath = target;
        tracker->Track(key, args.DownloadOperation, target);
        if (!FDownloadPopup)
            FDownloadPopup = new TDownloadPopup(WVWindowParent1);
        FDownloadPopup->AddDownload(args.DownloadOperation, target);
    }
    isContextMenuEnabled = false;
    frmParent->isContextMenuEnabledParent = false;
    if (!args.Cancel && edtAddress->text() == BlankPage)
        WVBrowser1->Navigate(TPublisherPages::DownloadsPage);
}

TDownloadPopup *TFrameChild::DownloadPopup() const
{
    return FDownloadPopup.data();
}

void TFrameChild::WVBrowser1DownloadStateChanged(TWVDownloadOperation *operation, qint32)
{
    // The main window's count follows every download in TDownloadTracker, even after its tab is gone.
    if (operation && operation->State() == wvdsCompleted)
        isContextMenuEnabled = false;
}
