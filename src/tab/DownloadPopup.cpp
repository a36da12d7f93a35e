#include "tab/DownloadPopup.h"

#include "webview/WVDownloadOperation.h"
#include "webview/WVTypes.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr int PopupWidth = 360;
constexpr int Margin = 8;
// Older downloads leave the pop-up; they stay where they were saved.
constexpr int MaxItems = 5;

QString SizeText(qint64 bytes)
{
    return QLocale::system().formattedDataSize(qMax<qint64>(bytes, 0), 1, QLocale::DataSizeTraditionalFormat);
}
} // namespace

TDownloadPopup::TDownloadPopup(QWidget *host) : QFrame(host)
{
    setObjectName(QStringLiteral("DownloadPopup"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral(
        "#DownloadPopup { background: #F7F9FA; border: 1px solid #8AA4B5; border-radius: 4px; }"
        "#DownloadPopup QLabel { color: #202020; }"
        "#DownloadPopup QLabel#lblStatus, #DownloadPopup QLabel#lblFolder { color: #505A62; }"
        "#DownloadPopup QProgressBar { border: 1px solid #B0BEC8; border-radius: 3px; background: white; height: 10px; }"
        "#DownloadPopup QProgressBar::chunk { background: #0080C0; }"));
    setFixedWidth(PopupWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 6, 10);
    layout->setSpacing(6);
    auto *header = new QHBoxLayout;
    auto *title = new QLabel(QStringLiteral("<b>Downloads</b>"), this);
    auto *close = new QToolButton(this);
    close->setObjectName(QStringLiteral("btnCloseDownloads"));
    close->setText(QStringLiteral("\u2715"));
    close->setAutoRaise(true);
    close->setToolTip(QStringLiteral("Close"));
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    header->addWidget(title, 1);
    header->addWidget(close);
    layout->addLayout(header);
    FList = new QVBoxLayout;
    FList->setSpacing(10);
    layout->addLayout(FList);
    host->installEventFilter(this);
    hide();
}

bool TDownloadPopup::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        Place();
    return QFrame::eventFilter(watched, event);
}

void TDownloadPopup::Place()
{
    auto *host = parentWidget();
    if (!host)
        return;
    // Items added while the pop-up shows are laid out only once they are shown themselves.
    for (const TItem &item : std::as_const(FItems))
        item.Box->show();
    layout()->activate();
    resize(PopupWidth, layout()->sizeHint().height());
    move(qMax(0, host->width() - width() - Margin), Margin);
}

TDownloadPopup::TItem *TDownloadPopup::Find(const TWVDownloadOperation *operation)
{
    for (TItem &item : FItems)
        if (item.Operation == operation)
            return &item;
    return nullptr;
}

void TDownloadPopup::AddDownload(TWVDownloadOperation *operation, const QString &targetPath)
{
    if (!operation)
        return;
    TItem item;
    item.Operation = operation;
    item.Path = targetPath;
    item.Box = new QWidget(this);
    item.Box->setObjectName(QStringLiteral("DownloadItem"));
    auto *layout = new QVBoxLayout(item.Box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    item.lblFileName = new QLabel(item.Box);
    item.lblFileName->setObjectName(QStringLiteral("lblFileName"));
    QFont bold = item.lblFileName->font();
    bold.setBold(true);
    item.lblFileName->setFont(bold);
    item.prgDownload = new QProgressBar(item.Box);
    item.prgDownload->setObjectName(QStringLiteral("prgDownload"));
    item.prgDownload->setTextVisible(false);
    item.prgDownload->setFixedHeight(10);
    item.lblStatus = new QLabel(item.Box);
    item.lblStatus->setObjectName(QStringLiteral("lblStatus"));
    item.lblFolder = new QLabel(item.Box);
    item.lblFolder->setObjectName(QStringLiteral("lblFolder"));
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    item.btnOpenFile = new QPushButton(QStringLiteral("Open File"), item.Box);
    item.btnOpenFile->setObjectName(QStringLiteral("btnOpenFile"));
    item.btnOpenFolder = new QPushButton(QStringLiteral("Show in Folder"), item.Box);
    item.btnOpenFolder->setObjectName(QStringLiteral("btnOpenFolder"));
    item.btnCancelDownload = new QPushButton(QStringLiteral("Cancel"), item.Box);
    item.btnCancelDownload->setObjectName(QStringLiteral("btnCancelDownload"));
    buttons->addWidget(item.btnOpenFile);
    buttons->addWidget(item.btnOpenFolder);
    buttons->addStretch(1);
    buttons->addWidget(item.btnCancelDownload);
    layout->addWidget(item.lblFileName);
    layout->addWidget(item.prgDownload);
    layout->addWidget(item.lblStatus);
    layout->addWidget(item.lblFolder);
    layout->addLayout(buttons);

    const QString path = targetPath;
    connect(item.btnOpenFile, &QPushButton::clicked, this,
            [path] { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); });
    connect(item.btnOpenFolder, &QPushButton::clicked, this,
            [path] { QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath())); });
    QPointer<TWVDownloadOperation> guarded(operation);
    connect(item.btnCancelDownload, &QPushButton::clicked, this, [this, guarded] {
        TItem *found = Find(guarded);
        if (!found || !guarded)
            return;
        // The engine reports the end while it cancels; the item must already know why.
        found->Cancelled = true;
        if (!guarded->Cancel())
            found->Cancelled = false;
    });
    const auto refresh = [this](TWVDownloadOperation *op, qint32) {
        if (TItem *found = Find(op)) {
            found->State = op->State() < 0 ? wvdsInProgress : op->State();
            found->Received = op->BytesReceived();
            found->Total = op->TotalBytesToReceive();
            found->Reason = op->InterruptReason();
            Update(*found);
        }
    };
    connect(operation, &TWVDownloadOperation::OnStateChanged, this, refresh);
    connect(operation, &TWVDownloadOperation::OnBytesReceivedChanged, this, refresh);

    FList->insertWidget(0, item.Box);
    FItems.prepend(item);
    while (FItems.size() > MaxItems) {
        delete FItems.last().Box;
        FItems.removeLast();
    }
    refresh(operation, 0);
    Place();
    show();
    raise();
}

void TDownloadPopup::Update(TItem &item)
{
    const QFileInfo info(item.Path);
    item.lblFileName->setText(item.lblFileName->fontMetrics().elidedText(info.fileName(), Qt::ElideMiddle,
                                                                         PopupWidth - 24));
    item.lblFileName->setToolTip(info.fileName());
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    item.lblFolder->setText(item.lblFolder->fontMetrics().elidedText(QStringLiteral("in ") + folder, Qt::ElideMiddle,
                                                                     PopupWidth - 24));
    item.lblFolder->setToolTip(folder);
    const bool running = item.State == wvdsInProgress;
    const bool done = item.State == wvdsCompleted;
    if (done) {
        item.prgDownload->setRange(0, 100);
        item.prgDownload->setValue(100);
        item.lblStatus->setText(QStringLiteral("Completed - ") + SizeText(item.Received));
    } else if (running) {
        if (item.Total > 0) {
            item.prgDownload->setRange(0, 1000);
            item.prgDownload->setValue(int(qBound(qint64(0), item.Received * 1000 / item.Total, qint64(1000))));
            item.lblStatus->setText(SizeText(item.Received) + QStringLiteral(" of ") + SizeText(item.Total));
        } else {
            item.prgDownload->setRange(0, 0); // size unknown: a busy bar
            item.lblStatus->setText(SizeText(item.Received));
        }
    } else {
        item.prgDownload->setRange(0, 100);
        item.prgDownload->setValue(0);
        if (item.Cancelled)
            item.lblStatus->setText(QStringLiteral("Cancelled"));
        else
            item.lblStatus->setText(item.Reason.isEmpty() ? QStringLiteral("Failed")
                                                          : QStringLiteral("Failed - ") + item.Reason);
    }
    item.btnOpenFile->setEnabled(done);
    item.btnCancelDownload->setVisible(running);
}

bool TDownloadPopup::HasRunning() const
{
    for (const TItem &item : FItems)
        if (item.State == wvdsInProgress)
            return true;
    return false;
}
