// The process entry of a framework program. It lives in its own object file
// so that only programs (not the test executables, which have main) pull it.
#include "WinApp.h"

#ifdef UNICODE
int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nCmdShow) {
    return AfxWinMain(hInstance, lpCmdLine, nCmdShow);
}
#else
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    return AfxWinMain(hInstance, lpCmdLine, nCmdShow);
}
#endif
