target_sources(wizlib PRIVATE
  system/CWinSetup.cpp
  system/wizMiscRegistry.cpp
  system/wizMiscFiles.cpp
  system/wizMiscDigest.cpp
  system/wizMiscShell.cpp
  system/wizMiscDevicePath.cpp)
