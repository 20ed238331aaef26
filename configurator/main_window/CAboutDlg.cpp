#include "configurator/main_window/CAboutDlg.h"
#include "configurator/GearloomRes.h"

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}
