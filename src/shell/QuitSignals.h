#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (logout, Ctrl+C, kill) into an ordinary close of the main window,
// so the shutdown work runs instead of the process dying mid-write.
class TQuitSignals : public QObject
{
    Q_OBJECT

public:
    explicit TQuitSignals(QObject *parent = nullptr);
    ~TQuitSignals() override;

Q_SIGNALS:
    void QuitRequested();

private:
    QSocketNotifier *FNotifier = nullptr;
};
