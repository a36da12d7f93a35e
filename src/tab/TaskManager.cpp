#include "tab/TaskManager.h"

#include "shell/BrowserTab.h"
#include "shell/Parent.h"
#include "tab/ProcessStatus.h"
#include "webview/WVBrowser.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
enum TColumn { colTask, colProcessId, colMemory, colCount };

QTableWidgetItem *Cell(const QString &text, bool number)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}
} // namespace

TfrmTaskManager *TfrmTaskManager::ShowFor(TfrmParent *mainWindow)
{
    if (!mainWindow)
        return nullptr;
    auto *form = mainWindow->findChild<TfrmTaskManager *>(QString(), Qt::FindDirectChildrenOnly);
    if (!form)
        form = new TfrmTaskManager(mainWindow);
    form->show();
    form->raise();
    form->activateWindow();
    return form;
}

TfrmTaskManager::TfrmTaskManager(TfrmParent *mainWindow) : QWidget(mainWindow, Qt::Window), FMainWindow(mainWindow)
{
    setObjectName(QStringLiteral("frmTaskManager"));
    setWindowTitle(QStringLiteral("Orbwell Task Manager"));
    resize(560, 320);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    lstTasks = new QTableWidget(0, colCount, this);
    lstTasks->setObjectName(QStringLiteral("lstTasks"));
    lstTasks->setHorizontalHeaderLabels({QStringLiteral("Task"), QStringLiteral("Process ID"), QStringLiteral("Memory")});
    lstTasks->horizontalHeader()->setSectionResizeMode(colTask, QHeaderView::Stretch);
    lstTasks->horizontalHeader()->setSectionResizeMode(colProcessId, QHeaderView::ResizeToContents);
    lstTasks->horizontalHeader()->setSectionResizeMode(colMemory, QHeaderView::ResizeToContents);
    lstTasks->verticalHeader()->hide();
    lstTasks->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstTasks->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(lstTasks);
    tmrRefresh = new QTimer(this);
    tmrRefresh->setObjectName(QStringLiteral("tmrRefresh"));
    tmrRefresh->setInterval(1000);
    connect(tmrRefresh, &QTimer::timeout, this, &TfrmTaskManager::Refresh);
}

void TfrmTaskManager::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Refresh();
    tmrRefresh->start();
}

void TfrmTaskManager::hideEvent(QHideEvent *event)
{
    tmrRefresh->stop();
    QWidget::hideEvent(event);
}

void TfrmTaskManager::Refresh()
{
    struct TRow
    {
        QString Task;
        qint64 Pid;
    };
    QList<TRow> rows;
    rows.append({QStringLiteral("Browser"), QCoreApplication::applicationPid()});
    for (int i = 0; i < FMainWindow->TabCount(); ++i) {
        TBrowserTab *tab = FMainWindow->TabAt(i);
        TWVBrowser *browser = tab ? tab->OrbwellBrowser() : nullptr;
        if (!browser || !browser->Initialized())
            continue;
        QString title = browser->DocumentTitle();
        if (title.isEmpty())
            title = browser->Source();
        rows.append({QStringLiteral("Tab: ") + title, browser->RenderProcessId()});
    }
    lstTasks->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const TRow &row = rows.at(r);
        lstTasks->setItem(r, colTask, Cell(row.Task, false));
        lstTasks->setItem(r, colProcessId, Cell(row.Pid > 0 ? QString::number(row.Pid) : QString(), true));
        lstTasks->setItem(r, colMemory, Cell(TProcessStatus::MemoryText(TProcessStatus::ResidentKbOf(row.Pid)), true));
    }
}
