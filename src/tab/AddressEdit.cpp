#include "tab/AddressEdit.h"

#include "tab/AddressRules.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QPainterPath>
#include <QTextCharFormat>
#include <QRegion>

TAddressEdit::TAddressEdit(QWidget *parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("edtAddress"));
    setFrame(false);
    QFont f(QStringLiteral("Calibri Light"));
    f.setPixelSize(33);
    f.setItalic(true);
    setFont(f);
    setTextMargins(12, 0, 12, 0);
    SetDark(false);
    connect(this, &QLineEdit::textChanged, this, [this] { ColourPrefix(); });
    connect(this, &QLineEdit::cursorPositionChanged, this, [this] { ColourPrefix(); });
}

void TAddressEdit::ColourPrefix()
{
    if (FColouring)
        return;
    FColouring = true;
    // The line edit keeps text formats in its layout; they arrive like an input method's, relative
    // to the caret.
    QList<QInputMethodEvent::Attribute> formats;
    const QString t = text();
    const int coloured = TAddressRules::ColouredPrefixLength(t);
    for (int i = 0; i < coloured; ++i) {
        QTextCharFormat f;
        f.setForeground(QColor(QRgb(TAddressRules::CharacterColour(t, i + 1))));
        formats.append(QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, i - cursorPosition(), 1, f));
    }
    QInputMethodEvent event(QString(), formats);
    QCoreApplication::sendEvent(this, &event);
    FColouring = false;
}

void TAddressEdit::SetItalic(bool italic)
{
    QFont f = font();
    f.setItalic(italic);
    setFont(f);
}

void TAddressEdit::SetDark(bool dark)
{
    QPalette pal = palette();
    const QColor background = dark ? QColor(Qt::black) : QColor(0x31, 0x46, 0x53);
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::Text, QColor(0xC0, 0xC0, 0xC0));
    pal.setColor(QPalette::Highlight, QColor(0x65, 0x8B, 0xA7));
    pal.setColor(QPalette::HighlightedText, Qt::white);
    pal.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0x65, 0x8B, 0xA7));
    setPalette(pal);
    setAutoFillBackground(true);
}

void TAddressEdit::ShowAddress(const QString &address)
{
    setText(address);
    setCursorPosition(0);
}

void TAddressEdit::SetRoundedWidth(int width)
{
    FRoundedWidth = width;
    const int w = width > 0 ? qMin(width, this->width()) : this->width();
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, w, height()), 7.5, 7.5);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void TAddressEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    SetRoundedWidth(FRoundedWidth);
}

void TAddressEdit::focusInEvent(QFocusEvent *event)
{
    // The text is not selected on entry: keep the caret where the user clicked.
    QLineEdit::focusInEvent(event);
    deselect();
    SetItalic(false);
}

void TAddressEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    SetItalic(true);
}
