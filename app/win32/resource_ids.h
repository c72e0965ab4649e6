#pragma once

#define IDI_APP 1
#define IDB_ABOUT 101
#define IDC_POINTING_HAND 102
