#pragma once
// Dialog templates of the notice boxes (NoticeDialogs.rc).
#define IDD_WARNING_ONE 188
#define IDD_WARNING_TWO 189
#define IDD_WARNING_THREE 190
#define IDD_WARNING_FOUR 191
