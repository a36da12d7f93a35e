#pragma once

#include <QWidget>

class QTableWidget;
class QTimer;
class TfrmParent;

// "Orbwell Task Manager": the program's process and the engine process behind each tab, with the
// memory each one holds, refreshed every second while the window is shown.
class TfrmTaskManager : public QWidget
{
    Q_OBJECT

public:
    // The main window's task manager, made on first use, shown and brought to the front.
    static TfrmTaskManager *ShowFor(TfrmParent *mainWindow);

    QTableWidget *lstTasks = nullptr;
    void Refresh();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    explicit TfrmTaskManager(TfrmParent *mainWindow);

    TfrmParent *FMainWindow;
    QTimer *tmrRefresh = nullptr;
};
