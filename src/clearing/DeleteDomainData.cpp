#include "clearing/DeleteDomainData.h"

#include "clearing/ClearingRules.h"
#include "shell/BrowserTab.h"
#include "shell/Parent.h"
#include "shell/PublisherPages.h"
#include "webview/WVBrowser.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QFont Calibri(bool light, bool bold = false)
{
    QFont font(light ? QStringLiteral("Calibri Light") : QStringLiteral("Calibri"));
    font.setPixelSize(16);
    font.setBold(bold);
    return font;
}
} // namespace

TfrmDeleteDomainData::TfrmDeleteDomainData(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmDeleteDomainData"));
    setWindowTitle(QStringLiteral("Delete Data for Domain"));
    setFixedSize(583, 151);
    setModal(true);
    setStyleSheet(QStringLiteral("#frmDeleteDomainData { border: 1px solid #374F60; }"));
    setAttribute(Qt::WA_StyledBackground, true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 12);
    layout->setSpacing(10);
    grpURLToBlock = new QGroupBox(
        QStringLiteral("Delete Domain Data (%1)").arg(TClearingRules::DomainExample), this);
    grpURLToBlock->setObjectName(QStringLiteral("grpURLToBlock"));
    grpURLToBlock->setFont(Calibri(false, true));
    auto *row = new QHBoxLayout(grpURLToBlock);
    row->setContentsMargins(10, 8, 10, 8);
    edtDomain = new QLineEdit(TPublisherPages::HomePage, grpURLToBlock);
    edtDomain->setObjectName(QStringLiteral("edtDomain"));
    edtDomain->setFont(Calibri(true));
    edtDomain->setFixedWidth(497);
    edtDomain->installEventFilter(this);
    btnClear = new QPushButton(QStringLiteral("X"), grpURLToBlock);
    btnClear->setObjectName(QStringLiteral("btnClear"));
    btnClear->setFont(Calibri(false, true));
    btnClear->setFixedSize(28, 28);
    row->addWidget(edtDomain);
    row->addWidget(btnClear);
    row->addStretch(1);
    layout->addWidget(grpURLToBlock);

    auto *buttons = new QHBoxLayout();
    btnDelete = new QPushButton(QStringLiteral("Delete"), this);
    btnDelete->setObjectName(QStringLiteral("btnDelete"));
    btnPaste = new QPushButton(QStringLiteral("Paste"), this);
    btnPaste->setObjectName(QStringLiteral("btnPaste"));
    btnClose = new QPushButton(QStringLiteral("Cancel"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    buttons->addWidget(btnDelete);
    buttons->addStretch(1);
    buttons->addWidget(btnPaste);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    for (QPushButton *button : {btnClear, btnDelete, btnPaste, btnClose})
        button->setAutoDefault(false);
    for (QPushButton *button : {btnDelete, btnPaste, btnClose}) {
        button->setFont(Calibri(true));
        button->setMinimumSize(110, 32);
    }
    layout->addLayout(buttons);

    connect(btnDelete, &QPushButton::clicked, this, [this] { btnDeleteClick(); });
    connect(btnPaste, &QPushButton::clicked, this, [this] { btnPasteClick(); });
    connect(btnClear, &QPushButton::clicked, this, [this] { btnClearClick(); });
    connect(btnClose, &QPushButton::clicked, this, [this] { btnCloseClick(); });
}

void TfrmDeleteDomainData::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmDeleteDomainData::FormShow()
{
    if (edtDomain->isEnabled())
        edtDomain->setFocus();
}

bool TfrmDeleteDomainData::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edtDomain && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            edtDomainKeyDown(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmDeleteDomainData::edtDomainKeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        btnDeleteClick();
}

void TfrmDeleteDomainData::btnDeleteClick()
{
    const TDomainDataRequest request = TClearingRules::CheckDomainText(edtDomain->text());
    if (request.Result == TDomainDataRequest::ddEmpty)
        return;
    if (request.Result == TDomainDataRequest::ddNotAnOrigin) {
        // The dialog stays open so the text can be corrected.
        QMessageBox::information(this, windowTitle(), TClearingRules::NotAnOriginMessage);
        edtDomain->setFocus();
        return;
    }
    TBrowserTab *tab = frmParent ? frmParent->ActiveTab() : nullptr;
    TWVBrowser *browser = tab ? tab->OrbwellBrowser() : nullptr;
    // The outcome comes later to the tab whose browser took the request.
    const bool accepted = browser && browser->ClearDataForOrigin(request.Text, cdstAll);
    accept();
    if (!accepted)
        QMessageBox::information(parentWidget(), windowTitle(), TClearingRules::OriginNotClearedMessage);
}

void TfrmDeleteDomainData::btnPasteClick()
{
    edtDomain->selectAll();
    edtDomain->paste();
}

void TfrmDeleteDomainData::btnClearClick()
{
    edtDomain->clear();
    if (edtDomain->isEnabled())
        edtDomain->setFocus();
}

void TfrmDeleteDomainData::btnCloseClick()
{
    reject();
}
