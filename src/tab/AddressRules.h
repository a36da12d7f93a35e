#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// What the address box makes of text and addresses: navigation targets, friendly names, tab icons,
// prefix colours and the addresses left to the engine's own pop-up windows.
namespace TAddressRules {

// The address Enter navigates to: the text itself when it starts with "edge", "http://" or "https://"
// (any letter case), otherwise a search for the text, appended unchanged.
QString AddressFor(const QString &text);

// The friendly name the address box shows for an address, or an empty string for the address itself.
QString FriendlyName(const QString &address);

// The text the address box shows for the web view's current address.
QString LookoutText(const QString &source);

struct TFavicon
{
    // 0 to 7 (see the tab image list); 0 with Fetch set means "ask the page for its own icon".
    int Index = 0;
    bool Fetch = false;
    // A caption the tab takes instead of the page title; empty for none.
    QString Caption;
};

// The tab icon for the address box text (an address or a friendly name).
TFavicon FaviconFor(const QString &addressBoxText);

// The part of the text from its last "." after the last "\" and ":"; empty when there is none.
QString Extension(const QString &text);

// The colour of the character at position (1-based) in the address box, as 0xRRGGBB.
quint32 CharacterColour(const QString &text, int position);
// The number of leading characters that get a colour of their own (the rest are grey).
int ColouredPrefixLength(const QString &text);

// Fragments of addresses that open in the engine's own pop-up window instead of a tab.
const QStringList &PopupFragments();
// True when a page's new-window request for this address goes to the engine's own pop-up window.
bool IsEnginePopupAddress(const QString &address);

} // namespace TAddressRules
