# Cabinet extraction, the "FILE" resources and the payload built from source.
wiz_add_test(NAME payload_tests RESOURCES PREFIXES vista32 vista64 CODEPAGES 932 LIBS setupapi SOURCES
  payload/CabBuilder.cpp
  payload/CabFiles.cpp
  payload/CabFormatTest.cpp
  payload/CabPathTest.cpp
  payload/CabExtractorTest.cpp
  payload/ExtractFileTest.cpp
  payload/CabSetTest.cpp
  payload/HostileCabinetTest.cpp
  payload/PayloadTest.cpp
  payload/DriverPackageTest.cpp)
target_link_libraries(payload_tests PRIVATE devagent_interface)
