// The trap's control: a program that loads a library by its bare name, as
// Windows' own libraries do, from the folder that holds the planted DLLs.
#include <windows.h>

int main() { return LoadLibraryA("uxtheme") ? 0 : 1; }
