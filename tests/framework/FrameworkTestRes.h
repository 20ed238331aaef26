#pragma once
#define IDD_TEST_MODAL 100
#define IDD_TEST_EMPTY 101
#define IDC_TEST_EDIT 1001
