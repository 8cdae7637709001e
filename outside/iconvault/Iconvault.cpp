// The picture library: PNG pictures as RCDATA resources, no code of its own.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
