target_sources(wizlib PRIVATE
  payload/CabFormat.cpp
  payload/CabPath.cpp
  payload/wizCab.cpp
  payload/ResourceFile.cpp
  payload/DevAgentBinding.cpp)
# The binding shares the entry points' types with the library: its interface
# header alone (devagent/DevAgent.h), not the rest of the repository.
target_link_libraries(wizlib PRIVATE devagent_interface)
