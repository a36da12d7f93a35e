#pragma once

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;

// "Delete Data for Domain": everything the web view keeps for one origin, cleared through the
// active tab's browser component. Made once; the edit keeps its text between openings.
class TfrmDeleteDomainData : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmDeleteDomainData(QWidget *parent = nullptr);

    QGroupBox *grpURLToBlock = nullptr;
    QLineEdit *edtDomain = nullptr;
    QPushButton *btnClear = nullptr;
    QPushButton *btnDelete = nullptr;
    QPushButton *btnPaste = nullptr;
    QPushButton *btnClose = nullptr;

    void btnDeleteClick();
    void btnPasteClick();
    void btnClearClick();
    void btnCloseClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void edtDomainKeyDown(int key);
};
