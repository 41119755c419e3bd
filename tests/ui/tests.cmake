# Dialog tests need their dialog to be the active window: no other GUI test of
# the prefix may run beside them.
wiz_add_test(NAME ui_tests RESOURCES LOCKED SOURCES
  ui/Canvas.cpp
  ui/MessageStyleTest.cpp
  ui/BtnSTLayoutTest.cpp
  ui/BtnSTPaintTest.cpp
  ui/BtnSTControlTest.cpp
  ui/CStaticTextTest.cpp
  ui/MessageDialogTest.cpp)

# Shows the message dialog and the setup-type buttons for the screenshots in
# docs/screenshots (tools/ui-screenshots.sh).
add_executable(ui-demo WIN32 ${CMAKE_SOURCE_DIR}/tools/ui-demo/UiDemo.cpp ${WIZ_RESOURCE_SCRIPT})
target_link_libraries(ui-demo PRIVATE wizlib)
target_include_directories(ui-demo PRIVATE ${CMAKE_BINARY_DIR}/payload)
add_dependencies(ui-demo payload_cabinets)
set_target_properties(ui-demo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
