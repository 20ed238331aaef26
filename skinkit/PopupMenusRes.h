#pragma once
// Dialog templates of the popup menus (PopupMenus.rc).
#define IDD_DPI_MENU 140
#define IDD_ILLUMINATION_MENU 143
#define IDD_BUTTON_MENU 146
#define IDD_REGION_MENU 186
