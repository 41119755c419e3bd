target_sources(wizlib PRIVATE
  fw/String.cpp
  fw/Wnd.cpp
  fw/Dialog.cpp
  fw/PropertyPageEx.cpp
  fw/PropertySheetEx.cpp
  fw/WinApp.cpp
  fw/Resources.cpp
  fw/SystemLibrary.cpp
  fw/CommonControls.cpp
  fw/ShellApi.cpp
  fw/Path.cpp
  fw/EarlierInputFilter.cpp)
# The allocation operators: only the program's executables link them; the
# tests keep the standard library's.
list(APPEND WIZ_PROGRAM_SOURCES fw/Memory.cpp)
