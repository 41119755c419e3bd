# The build's driver-package check, one ctest test per group of its Python tests.
foreach(group ProjectPackageTest InfRuleTest PackageFilesTest DriverImageTest CatalogTest)
  add_test(NAME driver_package_check.${group}
    COMMAND ${Python3_EXECUTABLE} -m unittest package_check_test.${group}
    WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR})
endforeach()
