#include "shell/TabRules.h"

int TTabRules::ActiveIndexAfterClose(int closedIndex, int activeIndex, int newCount)
{
    if (activeIndex > newCount - 1)
        return newCount - 1;
    if (closedIndex < activeIndex)
        return activeIndex - 1;
    return activeIndex;
}

int TTabRules::NextIndex(int activeIndex, int count)
{
    if (count <= 0)
        return -1;
    return activeIndex + 1 >= count ? 0 : activeIndex + 1;
}

int TTabRules::FlipIndex(int lastActiveIndex, int count)
{
    return (lastActiveIndex < 0 || lastActiveIndex > count - 1) ? 0 : lastActiveIndex;
}

int TTabRules::NewTabIndex(bool nextToCurrent, bool firstTabOfRun, int activeIndex, int countBefore)
{
    if (nextToCurrent && !firstTabOfRun && activeIndex >= 0 && activeIndex < countBefore)
        return activeIndex + 1;
    return countBefore;
}

QString TTabRules::getTitleText(const QString &title)
{
    constexpr int Width = 27;
    return title.size() >= Width ? title.left(Width) : title.leftJustified(Width, QLatin1Char(' '));
}
