target_sources(wizlib PRIVATE
  system/wizMiscRegistry.cpp
  system/wizMiscFiles.cpp
  system/wizMiscDigest.cpp
  system/wizMiscShell.cpp
  system/wizMiscDevicePath.cpp)
