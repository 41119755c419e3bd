target_sources(wizlib PRIVATE
  payload/CabFormat.cpp
  payload/CabPath.cpp
  payload/wizCab.cpp
  payload/ResourceFile.cpp)
# The binding shares the entry points' types with the library (devagent/DevAgent.h).
target_sources(wizlib PRIVATE payload/DevAgentBinding.cpp)
target_include_directories(wizlib PRIVATE ${PROJECT_SOURCE_DIR})
