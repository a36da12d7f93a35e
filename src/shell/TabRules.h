#pragma once

#include <QString>

// Index arithmetic of the tab strip, kept apart from the widgets so it can be tested alone.
namespace TTabRules {

// The tab to activate after closing closedIndex while activeIndex was active; newCount tabs remain.
int ActiveIndexAfterClose(int closedIndex, int activeIndex, int newCount);
// "Step To Next Window": the tab after the active one, wrapping to the first.
int NextIndex(int activeIndex, int count);
// "Flip To Last Active Window": the remembered index, or the first tab when it is out of range.
int FlipIndex(int lastActiveIndex, int count);
// Where a new tab goes: right after the active tab, or at the end.
int NewTabIndex(bool nextToCurrent, bool firstTabOfRun, int activeIndex, int countBefore);

// A tab caption of exactly 27 characters: longer titles are cut, shorter ones padded with blanks.
QString getTitleText(const QString &title);

} // namespace TTabRules
