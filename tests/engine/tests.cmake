# The installation engine, the device-library binding and DevAgent.dll itself.
set(engine_tests_dir ${CMAKE_CURRENT_LIST_DIR})

# Stand-ins for DevAgent.dll: one that records the setup's calls, one without
# the entry points. Built into <build>/tests/agents.
add_library(engine_recording_agent SHARED
  ${engine_tests_dir}/agents/RecordingAgent.cpp ${engine_tests_dir}/agents/RecordingAgent.def)
add_library(engine_noexport_agent SHARED ${engine_tests_dir}/agents/NoExportAgent.cpp)
target_link_options(engine_noexport_agent PRIVATE -Wl,--exclude-all-symbols)
set_target_properties(engine_recording_agent PROPERTIES OUTPUT_NAME RecordingAgent)
set_target_properties(engine_noexport_agent PROPERTIES OUTPUT_NAME NoExportAgent)
set_target_properties(engine_recording_agent engine_noexport_agent PROPERTIES
  PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${WIZ_TEST_DIR}/agents)

add_library(enginetestsupport STATIC ${engine_tests_dir}/EngineTestSupport.cpp)
target_include_directories(enginetestsupport PUBLIC ${engine_tests_dir})
target_link_libraries(enginetestsupport PUBLIC wizlib testsupport devagent_core setupapi ole32 uuid)

# Pure logic, the device library's calls through stand-ins, and the binding.
wiz_add_test(NAME engine_unit_tests PREFIXES vista32 vista64 CODEPAGES 932 LIBS enginetestsupport SOURCES
  ${engine_tests_dir}/EnginePathsTest.cpp
  ${engine_tests_dir}/DevAgentCoreTest.cpp
  ${engine_tests_dir}/BindingTest.cpp)
add_dependencies(engine_unit_tests DevAgent engine_recording_agent engine_noexport_agent)

# Everything that changes the prefix: its HKLM keys, Program Files, the Start
# menu, DevicePath and its device tree.
wiz_add_test(NAME engine_tests LOCKED RESOURCES PREFIXES vista32 vista64 LIBS enginetestsupport SOURCES
  ${engine_tests_dir}/InstallSequenceTest.cpp
  ${engine_tests_dir}/InstallFilesTest.cpp
  ${engine_tests_dir}/RegisterTest.cpp
  ${engine_tests_dir}/RemoveTest.cpp
  ${engine_tests_dir}/InstallDriverTest.cpp
  ${engine_tests_dir}/DeviceRemovalTest.cpp
  ${engine_tests_dir}/StepAnswersTest.cpp)
add_dependencies(engine_tests DevAgent engine_recording_agent engine_noexport_agent)

# DevAgent.dll's RemoveDevice really removes devices and (flags 1) the
# product's packages in the driver store, and EnumerateDevice stages them: the
# tests that call it, or make an adapter, never run side by side.
foreach(prefix vista32 vista64)
  foreach(test engine_tests engine_unit_tests payload_tests)
    if(TEST ${test}.${prefix})
      set_property(TEST ${test}.${prefix} APPEND PROPERTY RESOURCE_LOCK ${prefix}.devices)
    endif()
  endforeach()
endforeach()

# Links into each prefix's Windows folder, made on the host before the engine tests.
foreach(prefix vista32 vista64)
  add_test(NAME engine_links.${prefix} COMMAND ${engine_tests_dir}/make-links.sh ${WIZ_PREFIX_ROOT}/${prefix})
  set_tests_properties(engine_links.${prefix} PROPERTIES FIXTURES_SETUP engine_links.${prefix})
  set_tests_properties(engine_unit_tests.${prefix} engine_tests.${prefix} PROPERTIES
    FIXTURES_REQUIRED engine_links.${prefix})
endforeach()

find_package(Python3 REQUIRED COMPONENTS Interpreter)

# Driver cabinets that are sound as cabinets but hold other bytes than the
# build packed, for InstallFiles to refuse. Built into <build>/tests/cabinets.
set(hostile_dir ${WIZ_TEST_DIR}/cabinets)
set(hostile_cabinets)
foreach(kind empty altered zeros)
  foreach(base vxa38 vxa3864)
    list(APPEND hostile_cabinets ${hostile_dir}/${kind}-${base}.cab)
  endforeach()
endforeach()
add_custom_command(OUTPUT ${hostile_cabinets}
  COMMAND ${Python3_EXECUTABLE} ${engine_tests_dir}/make-hostile-cabinets.py ${GCAB_EXECUTABLE}
          ${CMAKE_BINARY_DIR}/payload ${hostile_dir}
  DEPENDS ${engine_tests_dir}/make-hostile-cabinets.py ${WIZ_PAYLOAD_CABINETS}
  COMMENT "Packing the hostile driver cabinets")
add_custom_target(engine_hostile_cabinets DEPENDS ${hostile_cabinets})
add_dependencies(engine_hostile_cabinets payload_cabinets)
add_dependencies(engine_tests engine_hostile_cabinets)
add_dependencies(e2e_flow engine_hostile_cabinets)
