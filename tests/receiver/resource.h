#pragma once

// Shared by the dialog template and the receiver, which names the buttons
// it logs by these identifiers.
#define IDD_RECEIVER 100
// The same buttons with a list below them, in a group of its own.
#define IDD_RECEIVER_LIST 101
// The same buttons, each a group of its own, made in the reverse order: the
// receiver moves their focus itself, in the order of IDD_RECEIVER.
#define IDD_RECEIVER_OWN_ORDER 102
// A list and nothing else: no button to watch.
#define IDD_RECEIVER_NO_BUTTONS 103
// The layout of IDD_RECEIVER, its buttons of a class built on the system's.
#define IDD_RECEIVER_SUPERCLASS 104

#define IDC_MOVE_DOWN 1001
#define IDC_MOVE_LEFT 1002
#define IDC_MOVE_RIGHT 1003
#define IDC_MOVE_UP 1004
#define IDC_ROUTE 1005
