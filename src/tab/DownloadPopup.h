#pragma once

#include <QFrame>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;
class TWVDownloadOperation;

// The tab's download pop-up: each download of the tab with its progress and target, and buttons to
// open the file or its folder, or to cancel it while it runs. It floats over the top right of the web
// view, the way the engine's own pop-up does on other platforms.
class TDownloadPopup : public QFrame
{
    Q_OBJECT

public:
    explicit TDownloadPopup(QWidget *host);

    // Shows the pop-up with this download at the top.
    void AddDownload(TWVDownloadOperation *operation, const QString &targetPath);
    // Whether any download shown here is still running.
    bool HasRunning() const;
    // Keeps the pop-up in the host's top right corner.
    void Place();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TItem
    {
        QPointer<TWVDownloadOperation> Operation;
        QString Path;
        int State = 0;
        qint64 Received = 0;
        qint64 Total = -1;
        QString Reason;
        bool Cancelled = false;
        QWidget *Box = nullptr;
        QLabel *lblFileName = nullptr;
        QLabel *lblStatus = nullptr;
        QLabel *lblFolder = nullptr;
        QProgressBar *prgDownload = nullptr;
        QPushButton *btnOpenFile = nullptr;
        QPushButton *btnOpenFolder = nullptr;
        QPushButton *btnCancelDownload = nullptr;
    };

    void Update(TItem &item);
    TItem *Find(const TWVDownloadOperation *operation);

    QVBoxLayout *FList = nullptr;
    QList<TItem> FItems;
};
