#pragma once
// The adapter's driver package as DevAgent.dll finds it on the driver search
// path, stages and installs it, and deletes it from the driver store again.
//
// An INF is the product's package when all of these hold (the provider, the
// names and the hardware id are those of ProductPackage.h):
//   - it is no larger than kMaxInfBytes;
//   - its [Version] Provider is kProductProvider and its (undecorated)
//     CatalogFile is the catalog of one of the product's INFs (vxa38.inf:
//     vxa38.cat, vxa3864.inf: vxa3864.cat), both compared without regard to
//     case;
//   - its name is that INF's name: in a DevicePath folder the file's own name;
//     in the store the original name Windows recorded when it staged the file
//     (Wine records none and answers the published name oemN.inf, which then
//     leaves the decision to the other rules);
//   - a models section of its [Manufacturer] list, for the platform asked for
//     (every platform in the store), lists the hardware id.
// Another vendor's package for the same adapter has another provider and
// catalog, and is never staged or deleted.
#include "DevAgentCore.h"
#include "ProductPackage.h"

struct ProductInf {
    const char* inf;
    const char* catalog;
};
extern const ProductInf kProductInfs[2];

// The models decoration of the packages this process can install: 32-bit
// SetupAPI installs NTx86 models only, 64-bit SetupAPI NTamd64 models.
#ifdef _WIN64
const char* const kThisPlatform = "NTamd64";
#else
const char* const kThisPlatform = "NTx86";
#endif


// Whether the INF at path is the product's package (the rules above) listing
// hardwareId for platform (nullptr: any platform). name is the INF's name as
// the rules mean it, nullptr when the system recorded none. ERROR_SUCCESS
// when it is; ERROR_FILE_TOO_LARGE, the error of opening it, or
// ERROR_NOT_FOUND (readable, but not the product's) when not.
DWORD CheckProductInf(const char* path, const char* name, const char* hardwareId, const char* platform);

