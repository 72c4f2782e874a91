# Each subsystem folder lists its files with these; the top level builds one
# core library (pure C++, built natively and for Windows) and one glue library
# (Win32 only) from everything listed.
function(tl_core)
  foreach(src IN LISTS ARGN)
    get_filename_component(abs "${src}" ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY TL_CORE_SOURCES "${abs}")
  endforeach()
endfunction()

function(tl_glue)
  foreach(src IN LISTS ARGN)
    get_filename_component(abs "${src}" ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY TL_GLUE_SOURCES "${abs}")
  endforeach()
endfunction()

# Resource scripts of a subsystem (dialog templates): linked into the program
# and into every Windows test program, as a static library would drop them.
function(tl_resources)
  foreach(src IN LISTS ARGN)
    get_filename_component(abs "${src}" ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY TL_RESOURCES "${abs}")
  endforeach()
endfunction()

# Adds every folder below `parent` that has a CMakeLists.txt (except those
# named in EXCEPT): subsystems add tests, fixtures and benchmarks this way
# without editing a shared list.
function(tl_add_subdirs parent)
  cmake_parse_arguments(ARG "" "" "EXCEPT" ${ARGN})
  file(GLOB dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${parent}/*)
  foreach(dir IN LISTS dirs)
    get_filename_component(name ${dir} NAME)
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt AND NOT name IN_LIST ARG_EXCEPT)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# Win32 libraries the glue may call.
function(tl_glue_libs)
  set_property(GLOBAL APPEND PROPERTY TL_GLUE_LIBS ${ARGN})
endfunction()

# One GoogleTest program of core tests. Natively every case is its own ctest
# entry; under Wine the whole program runs once (a Wine start per case would
# cost more than the tests).
function(tl_core_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE tlcore GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME core.${name} COMMAND ${name})
    set_tests_properties(core.${name} PROPERTIES LABELS "core;wine")
  else()
    gtest_discover_tests(${name} TEST_PREFIX "core." PROPERTIES LABELS core
                         DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()

# One GoogleTest program of Windows tests (glue against the real platform).
function(tl_win_test name)
  if(NOT WIN32)
    return()
  endif()
  get_property(resources GLOBAL PROPERTY TL_RESOURCES)
  add_executable(${name} ${ARGN} ${resources})
  target_link_libraries(${name} PRIVATE tlglue tltestwin GTest::gtest_main)
  gtest_discover_tests(${name} TEST_PREFIX "win." PROPERTIES LABELS "win;wine"
                       DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()

# End-to-end tests: the built program folder against fixture programs.
function(tl_e2e_test name)
  if(NOT WIN32)
    return()
  endif()
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE tltestwin GTest::gtest_main)
  gtest_discover_tests(${name} TEST_PREFIX "e2e." PROPERTIES LABELS "e2e;wine"
                       DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()
