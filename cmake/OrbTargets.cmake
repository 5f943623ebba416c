# _orb_take_recurse(ARGS...), in a function: _glob is GLOB_RECURSE when ARGS
# start with RECURSE, else GLOB; _deps is ARGS without that keyword.
macro(_orb_take_recurse)
  set(_glob GLOB)
  set(_deps ${ARGN})
  if(_deps)
    list(GET _deps 0 _first)
    if(_first STREQUAL "RECURSE")
      set(_glob GLOB_RECURSE)
      list(REMOVE_AT _deps 0)
    endif()
  endif()
endmacro()

# orb_library(NAME [RECURSE] DEPS...): a subsystem library made of every
# .cpp/.h in the calling folder (sub-folders excluded; with RECURSE included,
# except the program entry points in main/), so adding a file needs no list edit.
function(orb_library name)
  _orb_take_recurse(${ARGN})
  file(${_glob} _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER _src EXCLUDE REGEX "/main/[^/]*$")
  if(_src)
    file(${_glob} _hdr CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    list(FILTER _hdr EXCLUDE REGEX "/main/[^/]*$")
    add_library(${name} STATIC ${_src} ${_hdr})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${_deps})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${_deps})
  endif()
endfunction()

# orb_test(NAME [RECURSE] DEPS...): one GoogleTest binary of every .cpp in the
# calling folder (with RECURSE also in its sub-folders, except probe/), with
# the shared main() that creates an offscreen QApplication.
function(orb_test name)
  _orb_take_recurse(${ARGN})
  file(${_glob} _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER _src EXCLUDE REGEX "/probe/[^/]*$")
  add_executable(${name} ${_src})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE orb_testmain ${_deps} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()
