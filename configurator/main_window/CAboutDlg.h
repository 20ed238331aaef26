#pragma once
#include "framework/CDialog.h"

// The small plain About box of the main window's system menu: a system frame, the program
// icon, two lines of text and OK.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* parent = nullptr);
};
