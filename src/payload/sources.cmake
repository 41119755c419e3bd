target_sources(wizlib PRIVATE
  payload/CabFormat.cpp
  payload/CabPath.cpp
  payload/wizCab.cpp
  payload/ResourceFile.cpp
  payload/DevAgentBinding.cpp)
# The binding shares the entry points' types and the product's hardware id
# with the library: its interface headers alone (devagent/DevAgent.h,
# devagent/ProductPackage.h), not the rest of the repository.
target_link_libraries(wizlib PUBLIC devagent_interface)
