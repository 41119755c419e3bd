wiz_add_test(NAME system_tests PREFIXES vista32 vista64 CODEPAGES 932 SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/RegistryStoreTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileUtilitiesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShellUtilitiesTest.cpp)
# DevicePath lives in the prefix's HKLM: the tests change it and put it back.
wiz_add_test(NAME system_devicepath_tests LOCKED PREFIXES vista32 vista64 SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DevicePathTest.cpp)
