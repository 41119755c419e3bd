target_sources(wizlib PRIVATE
  engine/EnginePaths.cpp
  engine/wizInstallCatalogue.cpp
  engine/wizInstallFiles.cpp
  engine/wizInstallShortcuts.cpp
  engine/wizInstallTcpParameters.cpp
  engine/wizInstallRegister.cpp
  engine/wizInstallDriver.cpp
  engine/wizRemove.cpp
  engine/wizRemoveDevice.cpp
  engine/wizRuns.cpp)
# The members' recorded sizes and digests, generated from the packed files.
target_include_directories(wizlib PRIVATE ${CMAKE_BINARY_DIR}/generated)
set_source_files_properties(engine/wizInstallCatalogue.cpp PROPERTIES OBJECT_DEPENDS "${WIZ_PAYLOAD_DIGESTS}")
add_dependencies(wizlib payload_cabinets)
