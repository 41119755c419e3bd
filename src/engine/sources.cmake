target_sources(wizlib PRIVATE
  engine/EnginePaths.cpp
  engine/wizInstallCatalogue.cpp
  engine/wizInstallFiles.cpp
  engine/wizInstallRegister.cpp
  engine/wizInstallDriver.cpp
  engine/wizRemove.cpp)
