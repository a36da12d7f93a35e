// The tab's page tools: snapshot, printing, PDF, saving and opening files, zoom, developer tools and
// the task manager, and the tools menu that leads to them.
#include "tab/CFrame.h"

#include "shell/Parent.h"
#include "tab/AddressEdit.h"
#include "tab/FileNames.h"
#include "tab/MenuItems.h"
#include "tab/TaskManager.h"
#include "webview/WVBrowser.h"
#include "webview/WVWindowParent.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSaveFile>
#include <QToolButton>

namespace {
enum TSaveKind { skHtml = 1, skText = 2, skMhtml = 3 };

QString Title()
{
    return QApplication::applicationDisplayName();
}

// The folder the last file dialog ended in; the first one starts in the download folder.
QString &LastDialogFolder()
{
    static QString folder;
    return folder;
}

QString StartFolder()
{
    if (!LastDialogFolder().isEmpty())
        return LastDialogFolder();
    return frmParent ? frmParent->Settings.FDefaultDownloadFolder : QString();
}


// The extension a filter such as "Text files (*.txt)" stands for.
QString SuffixOf(const QString &filter)
{
    const int star = filter.indexOf(QLatin1String("*."));
    if (star < 0)
        return QString();
    const int end = filter.indexOf(QRegularExpression(QStringLiteral("[ )]")), star);
    return filter.mid(star + 2, end < 0 ? -1 : end - star - 2).toLower();
}
} // namespace

void TFrameChild::BuildToolsMenu()
{
    popTools = new QMenu(this);
    popTools->setObjectName(QStringLiteral("popTools"));
    connect(btnTools, &QToolButton::clicked, this, [this] {
        popTools->popup(
            btnTools->mapToGlobal(QPoint(btnTools->x() - 150, btnTools->y() + btnCloseAll->height())));
    });
    connect(TMenuItems::Add(popTools, "OpenFile1", QStringLiteral("Open File..."), QStringLiteral("Ctrl+O")),
            &QAction::triggered, this, &TFrameChild::OpenFile1Click);
    connect(TMenuItems::Add(popTools, "SaveToFile1", QStringLiteral("Save To File..."), QStringLiteral("Ctrl+S")),
            &QAction::triggered, this, &TFrameChild::SaveToFile1Click);
    popTools->addSeparator();
    connect(TMenuItems::Add(popTools, "Print1", QStringLiteral("Print..."), QStringLiteral("Ctrl+P")), &QAction::triggered,
            this, &TFrameChild::Print1Click);
    connect(TMenuItems::Add(popTools, "PrinttoPDF1", QStringLiteral("Print to PDF..."), QStringLiteral("Ctrl+Alt+P")),
            &QAction::triggered, this, &TFrameChild::PrinttoPDF1Click);
    popTools->addSeparator();
    QMenu *Zoom1 = popTools->addMenu(QStringLiteral("Zoom"));
    Zoom1->setObjectName(QStringLiteral("Zoom1"));
    connect(TMenuItems::Add(Zoom1, "NormalZoom1", QStringLiteral("Reset Zoom     Ctrl + 0")), &QAction::triggered, this,
            &TFrameChild::NormalZoom1Click);
    Zoom1->addSeparator();
    connect(TMenuItems::Add(Zoom1, "IncrementZoom1", QStringLiteral("Increment Zoom     Ctrl + +")), &QAction::triggered,
            this, &TFrameChild::IncrementZoom1Click);
    connect(TMenuItems::Add(Zoom1, "DecrementZoom1", QStringLiteral("Decrement Zoom    Ctrl + -")), &QAction::triggered,
            this, &TFrameChild::DecrementZoom1Click);
    popTools->addSeparator();
    connect(TMenuItems::Add(popTools, "DeveloperTools1", QStringLiteral("Open Developer Tools...")), &QAction::triggered,
            this, &TFrameChild::DeveloperTools1Click);
    connect(TMenuItems::Add(popTools, "BrowserTaskManager1", QStringLiteral("Orbwell Task Manager...")),
            &QAction::triggered, this, &TFrameChild::BrowserTaskManager1Click);

    connect(btnScreenshot, &QToolButton::clicked, this, &TFrameChild::btnScreenshotClick);
    connect(this, &TFrameChild::BrowserComponentCreated, this, [this] {
        ConnectDownloads();
        ConnectPageTools();
    });
}

void TFrameChild::ConnectPageTools()
{
    connect(WVBrowser1, &TWVBrowser::OnCapturePreviewCompleted, this,
            [this](qint32 code) { WVBrowser1CapturePreviewCompleted(code); });
    connect(WVBrowser1, &TWVBrowser::OnPrintCompleted, this,
            [this](qint32 code, int status) { WVBrowser1PrintCompleted(code, status); });
    connect(WVBrowser1, &TWVBrowser::OnPrintToPdfCompleted, this,
            [this](qint32 code, bool ok) { WVBrowser1PrintToPdfCompleted(code, ok); });
    connect(WVBrowser1, &TWVBrowser::OnRetrieveHTMLCompleted, this,
            [this](bool ok, const QString &text) { WVBrowser1RetrieveCompleted(skHtml, ok, text); });
    connect(WVBrowser1, &TWVBrowser::OnRetrieveTextCompleted, this,
            [this](bool ok, const QString &text) { WVBrowser1RetrieveCompleted(skText, ok, text); });
    connect(WVBrowser1, &TWVBrowser::OnRetrieveMHTMLCompleted, this,
            [this](bool ok, const QString &text) { WVBrowser1RetrieveCompleted(skMhtml, ok, text); });
    connect(WVBrowser1, &TWVBrowser::OnContainsFullScreenElementChanged, this,
            [this] { WVBrowser1ContainsFullScreenElementChanged(); });
    connect(WVBrowser1, &TWVBrowser::OnAcceleratorKeyPressed, this,
            [this](TWVAcceleratorKeyArgs &args) { WVBrowser1AcceleratorKeyPressed(args); });
}

QString TFrameChild::ExecSaveDialog(const QString &filter, const QString &defaultSuffix, const QString &proposedName,
                                    int *chosenFilter)
{
    QFileDialog SaveDialog1(this, QStringLiteral("Save File"), StartFolder());
    SaveDialog1.setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1.setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1.setFileMode(QFileDialog::AnyFile);
    SaveDialog1.setNameFilters(filter.split(QStringLiteral(";;")));
    SaveDialog1.setDefaultSuffix(defaultSuffix);
    SaveDialog1.selectFile(proposedName);
    // A name typed without an extension takes the one of the chosen file type.
    connect(&SaveDialog1, &QFileDialog::filterSelected, &SaveDialog1, [&SaveDialog1](const QString &chosen) {
        if (const QString suffix = SuffixOf(chosen); !suffix.isEmpty())
            SaveDialog1.setDefaultSuffix(suffix);
    });
    if (SaveDialog1.exec() != QDialog::Accepted || SaveDialog1.selectedFiles().isEmpty())
        return QString();
    const QString path = SaveDialog1.selectedFiles().constFirst();
    if (path.isEmpty())
        return QString();
    LastDialogFolder() = QFileInfo(path).absolutePath();
    if (chosenFilter)
        *chosenFilter = SaveDialog1.nameFilters().indexOf(SaveDialog1.selectedNameFilter()) + 1;
    return path;
}

// Snapshot --------------------------------------------------------------------------------------------

void TFrameChild::btnScreenshotClick()
{
    QCoreApplication::processEvents();
    const QString path =
        ExecSaveDialog(TFileNames::SnapshotFilter, QStringLiteral("png"),
                       TFileNames::ProposedName(TFileNames::SnapshotPrefix, QDateTime::currentDateTime(),
                                                QStringLiteral("png")));
    if (path.isEmpty() || !Initialized())
        return;
    if (FFileStream) {
        // The earlier capture still under way is given up; its completion is not this one.
        FFileStream->cancelWriting();
        delete FFileStream;
        FFileStream = nullptr;
        ++FAbandonedCaptures;
    }
    // The picture goes to a temporary file that replaces the chosen one only once it is complete, so a
    // failed capture leaves neither an empty file nor a destroyed earlier one.
    FFileStream = new QSaveFile(path, this);
    if (!FFileStream->open(QIODevice::WriteOnly) || !WVBrowser1->CapturePreview(wvifPNG, FFileStream)) {
        qWarning("Snapshot: cannot write %s: %s", qUtf8Printable(path), qUtf8Printable(FFileStream->errorString()));
        delete FFileStream;
        FFileStream = nullptr;
        QMessageBox box(QMessageBox::NoIcon, Title(), QStringLiteral("There was an error taking the screen snapshot"),
                        QMessageBox::Ok, this);
        box.exec();
    }
}

void TFrameChild::WVBrowser1CapturePreviewCompleted(qint32 aErrorCode)
{
    if (FAbandonedCaptures > 0) {
        --FAbandonedCaptures;
        return;
    }
    if (!FFileStream)
        return;
    bool ok = aErrorCode >= 0;
    if (ok) {
        ok = FFileStream->commit();
        if (!ok)
            qWarning("Snapshot: cannot write %s: %s", qUtf8Printable(FFileStream->fileName()),
                     qUtf8Printable(FFileStream->errorString()));
    } else {
        FFileStream->cancelWriting();
    }
    delete FFileStream;
    FFileStream = nullptr;
    if (!ok) {
        QMessageBox box(QMessageBox::NoIcon, Title(), QStringLiteral("There was an error taking the screen snapshot"),
                        QMessageBox::Ok, this);
        box.exec();
    }
}

// Printing ----------------------------------------------------------------------------------------------

void TFrameChild::Print1Click()
{
    QCoreApplication::processEvents();
    if (Initialized() && !WVBrowser1->Print())
        QMessageBox::critical(this, Title(), QStringLiteral("The page could not be printed."));
}

void TFrameChild::WVBrowser1PrintCompleted(qint32 aErrorCode, int aPrintStatus)
{
    if (aErrorCode >= 0 && aPrintStatus == wvpsSucceeded)
        return;
    QMessageBox::critical(this, Title(),
                          aPrintStatus == wvpsPrinterUnavailable
                              ? QStringLiteral("The page could not be printed: there is no printer to print to.")
                              : QStringLiteral("The page could not be printed."));
}

void TFrameChild::PrinttoPDF1Click()
{
    QCoreApplication::processEvents();
    const QString path = ExecSaveDialog(
        TFileNames::PdfFilter, QStringLiteral("pdf"),
        TFileNames::ProposedName(TFileNames::PdfPrefix, QDateTime::currentDateTime(), QStringLiteral("pdf")));
    if (path.isEmpty() || !Initialized())
        return;
    if (!WVBrowser1->PrintToPdf(path))
        QMessageBox::critical(this, Title(), QStringLiteral("PDF could not be created."));
}

void TFrameChild::WVBrowser1PrintToPdfCompleted(qint32, bool aIsSuccessful)
{
    if (aIsSuccessful)
        QMessageBox::information(this, Title(), QStringLiteral("PDF was created successfully."));
    else
        QMessageBox::critical(this, Title(), QStringLiteral("PDF could not be created."));
}

// Saving and opening --------------------------------------------------------------------------------------

void TFrameChild::SaveToFile1Click()
{
    QCoreApplication::processEvents();
    saveFile();
}

void TFrameChild::saveFile()
{
    int kind = 0;
    const QString path = ExecSaveDialog(
        TFileNames::SaveFilter, QStringLiteral("html"),
        TFileNames::ProposedName(TFileNames::HtmlPrefix, QDateTime::currentDateTime(), QStringLiteral("html")),
        &kind);
    if (path.isEmpty() || !Initialized())
        return;
    bool started = false;
    switch (kind) {
    case skHtml: started = WVBrowser1->RetrieveHTML(); break;
    case skText: started = WVBrowser1->RetrieveText(); break;
    case skMhtml: started = WVBrowser1->RetrieveMHTML(); break;
    default: break;
    }
    if (started)
        FPendingSaves.append({kind, path});
    else
        qWarning("OrbwellForm.SaveAsTextFile error: the page could not be read for %s", qUtf8Printable(path));
}

void TFrameChild::WVBrowser1RetrieveCompleted(int aKind, bool aResult, const QString &aText)
{
    // Each retrieval answers once and in order, so the first one waiting of its kind is this one.
    QString target;
    for (int i = 0; i < FPendingSaves.size(); ++i) {
        if (FPendingSaves.at(i).first == aKind) {
            target = FPendingSaves.takeAt(i).second;
            break;
        }
    }
    if (target.isEmpty())
        return;
    if (!aResult) {
        qWarning("OrbwellForm.SaveAsTextFile error: the page could not be read for %s", qUtf8Printable(target));
        return;
    }
    SaveAsTextFile(target, aText, aKind == skHtml);
}

bool TFrameChild::SaveAsTextFile(const QString &aFileName, const QString &aText, bool aByteOrderMark)
{
    if (aFileName.isEmpty())
        return false;
    // UTF-8 keeps every character of the page; the file is replaced only once it is written whole.
    QSaveFile file(aFileName);
    if (!file.open(QIODevice::WriteOnly)) {
        qWarning("OrbwellForm.SaveAsTextFile error: %s: %s", qUtf8Printable(aFileName), qUtf8Printable(file.errorString()));
        return false;
    }
    QByteArray bytes = TFileNames::CrLfLines(aText).toUtf8();
    if (aByteOrderMark)
        bytes.prepend("\xEF\xBB\xBF");
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        qWarning("OrbwellForm.SaveAsTextFile error: %s: %s", qUtf8Printable(aFileName), qUtf8Printable(file.errorString()));
        return false;
    }
    return true;
}

void TFrameChild::OpenFile1Click()
{
    QCoreApplication::processEvents();
    openFile();
}

void TFrameChild::openFile()
{
    QFileDialog OpenDialog1(this, QStringLiteral("Open File"), StartFolder());
    OpenDialog1.setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1.setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1.setFileMode(QFileDialog::ExistingFile);
    OpenDialog1.setNameFilters(TFileNames::OpenFilter.split(QStringLiteral(";;")));
    if (OpenDialog1.exec() != QDialog::Accepted || OpenDialog1.selectedFiles().isEmpty())
        return;
    const QString path = OpenDialog1.selectedFiles().constFirst();
    LastDialogFolder() = QFileInfo(path).absolutePath();
    QCoreApplication::processEvents();
    LoadFromFileAsFileURI(path);
}

void TFrameChild::LoadFromFileAsFileURI(const QString &aPath)
{
    if (aPath.isEmpty() || !QFileInfo(aPath).isFile() || !frmParent || !Initialized())
        return;
    // A proper file address: "file:///" in front of an absolute path would give four slashes.
    frmParent->navigateURL = QUrl::fromLocalFile(QFileInfo(aPath).absoluteFilePath()).toString();
    edtAddress->ShowAddress(frmParent->navigateURL);
    WVBrowser1->Navigate(frmParent->navigateURL);
    QCoreApplication::processEvents();
}

// Zoom, developer tools, task manager -----------------------------------------------------------------------

void TFrameChild::NormalZoom1Click()
{
    if (Initialized())
        WVBrowser1->ResetZoom();
}

void TFrameChild::IncrementZoom1Click()
{
    if (!Initialized() || !frmParent)
        return;
    WVBrowser1->SetZoomPct(double(frmParent->Settings.FZoom));
    WVBrowser1->IncZoomStep();
}

void TFrameChild::DecrementZoom1Click()
{
    if (!Initialized() || !frmParent)
        return;
    WVBrowser1->SetZoomPct(double(frmParent->Settings.FZoom));
    WVBrowser1->DecZoomStep();
}

void TFrameChild::DeveloperTools1Click()
{
    if (Initialized())
        WVBrowser1->OpenDevToolsWindow();
}

void TFrameChild::BrowserTaskManager1Click()
{
    // The engine keeps no task manager window of its own here; the program shows its own.
    if (Initialized() && !WVBrowser1->OpenTaskManagerWindow() && frmParent)
        TfrmTaskManager::ShowFor(frmParent);
}
