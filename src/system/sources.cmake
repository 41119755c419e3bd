target_sources(wizlib PRIVATE
  system/wizMiscRegistry.cpp
  system/wizMiscFiles.cpp
  system/wizMiscShell.cpp
  system/wizMiscDevicePath.cpp)
