#include "tab/BasicUserAuthForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TTBasicUserAuthForm::TTBasicUserAuthForm(QWidget *owner, const QString &uri) : QDialog(owner)
{
    setObjectName(QStringLiteral("TBasicUserAuthForm"));
    setWindowTitle(QStringLiteral("User Authentication"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont f(QStringLiteral("Segoe UI"));
    f.setPixelSize(12);
    setFont(f);

    InfoLbl = new QLabel(QStringLiteral("Enter username and password :"), this);
    URILbl = new QLabel(uri, this);
    URILbl->setObjectName(QStringLiteral("URILbl"));
    URILbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    URILbl->setWordWrap(true);
    UsernameLbl = new QLabel(QStringLiteral("Username"), this);
    UsernameEdt = new QLineEdit(this);
    UsernameEdt->setObjectName(QStringLiteral("UsernameEdt"));
    PasswordLbl = new QLabel(QStringLiteral("Password"), this);
    PasswordEdt = new QLineEdit(this);
    PasswordEdt->setObjectName(QStringLiteral("PasswordEdt"));
    PasswordEdt->setEchoMode(QLineEdit::Password);

    OkBtn = new QPushButton(QStringLiteral("Ok"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setFixedWidth(120);
    OkBtn->setEnabled(false);
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setFixedWidth(120);

    auto *fields = new QGridLayout;
    fields->addWidget(InfoLbl, 0, 0, 1, 2);
    fields->addWidget(URILbl, 1, 0, 1, 2);
    fields->addWidget(UsernameLbl, 2, 0);
    fields->addWidget(UsernameEdt, 2, 1);
    fields->addWidget(PasswordLbl, 3, 0);
    fields->addWidget(PasswordEdt, 3, 1);
    auto *ButtonPnl = new QHBoxLayout;
    ButtonPnl->setContentsMargins(40, 5, 40, 5);
    ButtonPnl->addWidget(OkBtn);
    ButtonPnl->addStretch(1);
    ButtonPnl->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch(1);
    layout->addLayout(ButtonPnl);
    setFixedSize(537, 195);

    connect(UsernameEdt, &QLineEdit::textChanged, this, [this] { UsernameEdtChange(); });
    connect(PasswordEdt, &QLineEdit::textChanged, this, [this] { UsernameEdtChange(); });
    connect(OkBtn, &QPushButton::clicked, this, [this] {
        FOkPressed = true;
        accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QString TTBasicUserAuthForm::UserName() const
{
    return UsernameEdt->text();
}

QString TTBasicUserAuthForm::Password() const
{
    return PasswordEdt->text();
}

void TTBasicUserAuthForm::UsernameEdtChange()
{
    OkBtn->setEnabled(!UsernameEdt->text().isEmpty() && !PasswordEdt->text().isEmpty());
}
