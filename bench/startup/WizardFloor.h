// Resource ids of the start-up floor (the bitmaps keep the setup's ids).
#pragma once

#define IDB_FLOOR_HEADER 500
#define IDB_FLOOR_WATERMARK 510
#define IDD_FLOOR_WELCOME 100
#define IDD_FLOOR_PAGE 101
#define IDC_FLOOR_TEXT 1000
