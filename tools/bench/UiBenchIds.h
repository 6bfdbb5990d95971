// The benchmark's dialog: the seven children of a progress dialog.
#pragma once

#define IDD_UI_BENCH 300
#define IDC_BENCH_CLOSE 1000
#define IDC_BENCH_CANCEL 1001
#define IDC_BENCH_HIDE 1002
#define IDC_BENCH_PROGRESS 1003
#define IDC_BENCH_RECORDLINK 1008
#define IDC_BENCH_ERROR 1013
#define IDC_BENCH_OK 1014
