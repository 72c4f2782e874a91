// The test dialog's template and control IDs (shared by the .rc file).
#pragma once
#define IDD_TESTDLG 100
#define IDC_TESTDLG_NAME 1001
#define IDC_TESTDLG_REMEMBER 1002
#define IDC_TESTDLG_THROW 1003
