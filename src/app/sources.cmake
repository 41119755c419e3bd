target_sources(wizlib PRIVATE
  app/wizWizard.cpp
  app/ButtonLayout.cpp
  app/pshMain.cpp
  app/Wizard97.cpp)
# The entry point, the program's executables only.
list(APPEND WIZ_PROGRAM_SOURCES app/Main.cpp)
