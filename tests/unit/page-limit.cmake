# A sheet takes eight pages; a ninth does not compile (rather than being
# dropped when the sheet runs). cmake -DCXX=<compiler> -DSOURCE_DIR=<tree> -P page-limit.cmake
foreach(count 8 9)
  execute_process(
    COMMAND ${CXX} -std=gnu++17 -fsyntax-only -DWINVER=0x0600 -D_WIN32_WINNT=0x0600 -D_WIN32_IE=0x0700
            -DSTRICT -DPAGE_COUNT=${count} -I${SOURCE_DIR}/src ${SOURCE_DIR}/tests/unit/PageLimitProbe.cpp
    RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(count EQUAL 8 AND NOT result EQUAL 0)
    message(FATAL_ERROR "a sheet of eight pages does not compile:\n${errors}")
  endif()
  if(count EQUAL 9 AND (result EQUAL 0 OR NOT errors MATCHES "at most kMaxPages pages"))
    message(FATAL_ERROR "a sheet of nine pages compiles or fails for another reason:\n${errors}")
  endif()
endforeach()
