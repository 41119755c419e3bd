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

}  // namespace cabtest
