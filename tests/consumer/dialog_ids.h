#ifndef DIALOG_IDS_H
#define DIALOG_IDS_H

#define IDD_BUTTONS 100
#define IDC_SAVE 101
#define IDC_LOAD 102
#define IDC_NAME 103
#define IDC_STOCK 104

#endif
