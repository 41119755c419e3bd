target_sources(wizlib PRIVATE
  payload/CabFormat.cpp
  payload/CabPath.cpp
  payload/wizCab.cpp
  payload/ResourceFile.cpp)
