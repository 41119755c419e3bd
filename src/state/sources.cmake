target_sources(wizlib PRIVATE
  state/SetupState.cpp)
