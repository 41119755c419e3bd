// A GUI program that takes its message queue and ends: what starting any GUI
// program costs, which bench/peers.sh takes off the peer's installer times.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    return 0;
}
