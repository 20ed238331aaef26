#include "skinkit/TaskBarLayout.h"

std::vector<FolderPlace> LayoutFolders(const std::vector<int>& heights, const std::vector<bool>& open, int width)
{
    std::vector<FolderPlace> places;
    int y = 0;
    for (size_t i = 0; i < heights.size(); ++i) {
        FolderPlace p = {};
        int header = i == (size_t)TASKBAR_MACRO_FOLDER ? TASKBAR_MACRO_HEADER_HEIGHT : TASKBAR_HEADER_HEIGHT;
        p.header = RECT{0, y, width, y + header};
        y += header;
        if (i < open.size() && open[i]) {
            p.content = RECT{0, y + 5, width, y + heights[i]};
            y += heights[i];
        }
        places.push_back(p);
    }
    return places;
}

int HeaderAt(const std::vector<FolderPlace>& places, POINT p)
{
    for (size_t i = 0; i < places.size(); ++i)
        if (PtInRect(&places[i].header, p)) return (int)i;
    return -1;
}
