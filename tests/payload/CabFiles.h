#pragma once
// File-system helpers of the cabinet tests.
#include <string>
#include <vector>

#include "payload/CabBuilder.h"
#include "support/TestSupport.h"

namespace cabtest {

bool WriteCabinet(const std::string& path, const Bytes& bytes);
// Writes each image under the name at the same position.
bool WriteSet(const std::string& folder, const std::vector<std::string>& names,
              const std::vector<CabinetImage>& images);
using wiztest::ListFolder;

}  // namespace cabtest
