#pragma once

#include <QLineEdit>

// The address box: borderless, rounded at both ends, in the toolbar's colours.
class TAddressEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TAddressEdit(QWidget *parent = nullptr);

    void SetDark(bool dark);
    // Shows an address from its start, as people read it.
    void ShowAddress(const QString &address);
    // Rounds the corners to a 15 × 15 ellipse over the given width.
    void SetRoundedWidth(int width);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Colours the scheme at the start of the text (secure green, plain red, local blue).
    void ColourPrefix();
    void SetItalic(bool italic);

    int FRoundedWidth = -1;
    bool FColouring = false;
};
