#include "Layout.h"

POINT VisiblePosition(POINT position, SIZE size)
{
    RECT rect = {position.x, position.y, position.x + size.cx, position.y + size.cy};
    if (::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL)) return position;
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) return position;
    return POINT{info.rcWork.left, info.rcWork.top};
}
