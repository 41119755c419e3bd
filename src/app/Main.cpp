// The program's entry: the one application object and WinMain.
#include <windows.h>

#include "app/Wizard97.h"

CWizard97App theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return WinApp::Current()->Run(); }
