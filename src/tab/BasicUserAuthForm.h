#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the user name and password a site wants for HTTP basic authentication.
class TTBasicUserAuthForm : public QDialog
{
    Q_OBJECT

public:
    TTBasicUserAuthForm(QWidget *owner, const QString &uri);

    QString UserName() const;
    QString Password() const;
    bool OkPressed() const { return FOkPressed; }

    QLabel *InfoLbl = nullptr;
    QLabel *URILbl = nullptr;
    QLabel *UsernameLbl = nullptr;
    QLineEdit *UsernameEdt = nullptr;
    QLabel *PasswordLbl = nullptr;
    QLineEdit *PasswordEdt = nullptr;
    QPushButton *OkBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

private:
    void UsernameEdtChange();

    bool FOkPressed = false;
};
