#include "fw/Resources.h"

HINSTANCE ResourceHandle() { return ::GetModuleHandleA(nullptr); }

bool LoadResourceString(unsigned id, String& out) {
    out.Clear();
    char buffer[1024];
    int length = ::LoadStringA(ResourceHandle(), id, buffer, sizeof(buffer));
    if (length <= 0)
        return false;
    out = String(buffer, static_cast<size_t>(length));
    return true;
}

String LoadResourceString(unsigned id) {
    String text;
    LoadResourceString(id, text);
    return text;
}
