#include "engine/wizInstall.h"

#include "system/wizMisc.h"

namespace {

const char kTcpParametersKey[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";

struct TcpValue {
    const char* name;
    DWORD data;
};

const TcpValue kTcpValues[] = {
    {"TCPWindowSize", 0x10000},
    {"SackOpts", 1},
    {"TcpMaxDupAcks", 2},
    {"Tcp1323Opts", 1},
};

}  // namespace

bool TuneTcpParameters() {
    bool written = false;
    for (const TcpValue& value : kTcpValues) {
        written = WriteRegistryDword(HKEY_LOCAL_MACHINE, kTcpParametersKey, value.name, value.data);
        if (!written)
            break;
    }
    return written;
}
