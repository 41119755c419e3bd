#include "payload/CabFiles.h"

#include <windows.h>

#include <algorithm>

#include "support/TestSupport.h"

namespace cabtest {

bool WriteCabinet(const std::string& path, const Bytes& bytes) {
    return wiztest::WriteFileBytes(path, bytes.data(), bytes.size());
}

bool WriteSet(const std::string& folder, const std::vector<std::string>& names,
              const std::vector<CabinetImage>& images) {
    for (size_t i = 0; i < images.size() && i < names.size(); ++i) {
        if (!WriteCabinet(folder + "\\" + names[i], Serialize(images[i])))
            return false;
    }
    return true;
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace cabtest
