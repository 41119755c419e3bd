# The build's driver-package check, one ctest test per group of its Python tests.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
foreach(group ProjectPackageTest InfRuleTest PackageFilesTest DriverImageTest CatalogTest)
  add_test(NAME driver_package_check.${group}
    COMMAND ${Python3_EXECUTABLE} -m unittest package_check_test.${group}
    WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR})
  set_tests_properties(driver_package_check.${group} PROPERTIES ENVIRONMENT PYTHONDONTWRITEBYTECODE=1 LABELS host)
endforeach()
