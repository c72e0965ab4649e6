#pragma once

// Shared by the dialog template and the receiver, which names the buttons
// it logs by these identifiers.
#define IDD_RECEIVER 100

#define IDC_MOVE_DOWN 1001
#define IDC_MOVE_LEFT 1002
#define IDC_MOVE_RIGHT 1003
#define IDC_MOVE_UP 1004
