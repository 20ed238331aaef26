#pragma once
#include <windows.h>
#include <vector>

// Where the folder side bar puts its folders. Headers stack from the top in folder order,
// 20 pixels high, the macro folder's (index 3) 50 with its two buttons; an open folder's
// content lies below its header from 5 pixels down to the folder's content height.

constexpr int TASKBAR_HEADER_HEIGHT = 20;
constexpr int TASKBAR_MACRO_FOLDER = 3;
constexpr int TASKBAR_MACRO_HEADER_HEIGHT = 50;

struct FolderPlace {
    RECT header;
    RECT content;  // empty for a closed folder
};

// heights: each folder's content height; open: whether it is open; width: the bar's.
std::vector<FolderPlace> LayoutFolders(const std::vector<int>& heights, const std::vector<bool>& open, int width);
// The first folder whose header holds the point, or -1.
int HeaderAt(const std::vector<FolderPlace>& places, POINT p);
