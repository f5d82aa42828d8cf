# The Windows side of the build (mingw-w64 cross build, tests under Wine).
# Included by the top-level CMakeLists.txt when WIN32.
#
# Adding Windows tests, from any subdirectory added below:
#
#   vardolin_add_wine_gtest(capture_tests CaptureTests.cpp LIBS vardolin_capture)
#       builds a GoogleTest program and registers each of its tests with
#       ctest; they run under Wine in ${VARDOLIN_TEST_DIR}, next to
#       vardolin.dll. Add NEEDS_COM when the tests create the classes through
#       the registry (CoCreateInstance, ProgIDs), NEEDS_CAMERA when they need
#       the demo camera registered as the machine's webcam, CAMERA_REGISTRY
#       when they register or unregister cameras themselves (the second demo
#       camera, say), PROPERTIES to pass more test properties.
#
#   vardolin_add_vbs_test(capture_smoke tests/smoke.vbs [TEXTS tests/smoke.txt])
#       runs the script with Wine's cscript after vardolin.dll was registered
#       per machine. cscript exits 0 even when the script fails, so the script
#       must end by printing "<n> failed"; the test passes only on "0 failed".
#       Wine's VBScript has no ChrW: non-ASCII texts go in the UTF-8 TEXTS
#       file, which is copied as UTF-16 next to the script; read it with
#       fso.OpenTextFile("smoke.txt", 1, False, -1).ReadLine.
#
# Tests run through the Wine loader (CMAKE_CROSSCOMPILING_EMULATOR) in the
# prefix VARDOLIN_WINEPREFIX; scripts/windows.mk creates it, and
# scripts/run-tests.sh runs ctest there on an Xvfb display of its own with a
# persistent wineserver.

include(GoogleTest)

add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(UNICODE _UNICODE NOMINMAX)

# Static libraries made of resources only (artwork that a DLL links whole)
# are archived like any other.
set(CMAKE_RC_ARCHIVE_CREATE "<CMAKE_AR> qc <TARGET> <OBJECTS>")
set(CMAKE_RC_ARCHIVE_APPEND "<CMAKE_AR> q <TARGET> <OBJECTS>")
set(CMAKE_RC_ARCHIVE_FINISH "<CMAKE_RANLIB> <TARGET>")

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(VARDOLIN_TEST_DIR ${CMAKE_BINARY_DIR}/bin)

set(VARDOLIN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix the tests run in")
if(NOT VARDOLIN_WINE_LOADER)
  message(FATAL_ERROR "Use one of the toolchain files in cmake/ for the Windows build")
endif()
# Command prefix that runs a Windows program (or a builtin such as cscript or
# regsvr32) of this build's bitness in the test prefix.
set(VARDOLIN_WINE
    /usr/bin/env WINEPREFIX=${VARDOLIN_WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
    ${VARDOLIN_WINE_LOADER})
set(CMAKE_CROSSCOMPILING_EMULATOR ${VARDOLIN_WINE})

# Tests that need the classes registered per machine require this fixture;
# server/CMakeLists.txt defines its setup (regsvr32) and cleanup (regsvr32 /u).
set(VARDOLIN_COM_FIXTURE vardolin_com)

# Tests that need a webcam require this fixture: democam/CMakeLists.txt
# registers the demo camera ("Vardolin Demo Camera") per machine for the
# build's bitness before them and removes every demo camera after them.
# Tests that change which cameras are registered hold the registry lock, as
# the fixture's own setup and cleanup do.
set(VARDOLIN_CAMERA_FIXTURE vardolin_democam)
set(VARDOLIN_CAMERA_REGISTRY_LOCK vardolin_democam_registry)

# The project's version in the DLLs' version resources: a DLL's resource
# script includes cmake/VersionInfo.rc, which reads VardolinVersion.h.
set(VARDOLIN_VERSION_INCLUDE ${CMAKE_BINARY_DIR}/version)
configure_file(${PROJECT_SOURCE_DIR}/cmake/VardolinVersion.h.in ${VARDOLIN_VERSION_INCLUDE}/VardolinVersion.h @ONLY)
function(vardolin_version_resource target rc)
  target_include_directories(${target} PRIVATE ${VARDOLIN_VERSION_INCLUDE})
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS
               ${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc ${VARDOLIN_VERSION_INCLUDE}/VardolinVersion.h)
endfunction()

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

function(vardolin_add_wine_gtest target)
  cmake_parse_arguments(ARG "NEEDS_COM;NEEDS_CAMERA;CAMERA_REGISTRY" "" "LIBS;PROPERTIES" ${ARGN})
  add_executable(${target} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${target} PRIVATE GTest::gtest_main ${ARG_LIBS})
  # Fixtures and locks may come from several options; they are lists.
  cmake_parse_arguments(PROP "" "FIXTURES_REQUIRED;RESOURCE_LOCK" "" ${ARG_PROPERTIES})
  set(properties TIMEOUT 60 ${PROP_UNPARSED_ARGUMENTS})
  set(fixtures ${PROP_FIXTURES_REQUIRED})
  set(locks ${PROP_RESOURCE_LOCK})
  if(ARG_NEEDS_COM)
    list(APPEND fixtures ${VARDOLIN_COM_FIXTURE})
  endif()
  if(ARG_NEEDS_CAMERA)
    list(APPEND fixtures ${VARDOLIN_CAMERA_FIXTURE})
  endif()
  if(ARG_CAMERA_REGISTRY)
    list(APPEND locks ${VARDOLIN_CAMERA_REGISTRY_LOCK})
  endif()
  # PRE_TEST: discovery runs under Wine at ctest time, once the prefix exists.
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    TEST_PREFIX "${target}."
    WORKING_DIRECTORY ${VARDOLIN_TEST_DIR}
    PROPERTIES ${properties})
  # Test discovery flattens its properties into one list, which would split
  # a list value; fixtures and locks are set by a script that ctest runs
  # after the discovered tests are added.
  if(NOT fixtures AND NOT locks)
    return()
  endif()
  set(script "foreach(test IN LISTS ${target}_TESTS)\n")
  if(fixtures)
    string(APPEND script "  set_tests_properties(\"\${test}\" PROPERTIES FIXTURES_REQUIRED \"${fixtures}\")\n")
  endif()
  if(locks)
    string(APPEND script "  set_tests_properties(\"\${test}\" PROPERTIES RESOURCE_LOCK \"${locks}\")\n")
  endif()
  string(APPEND script "endforeach()\n")
  set(script_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_properties.cmake)
  file(WRITE ${script_file} "${script}")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script_file})
endfunction()

function(vardolin_add_vbs_test name script)
  cmake_parse_arguments(ARG "" "TEXTS" "" ${ARGN})
  get_filename_component(script_name ${script} NAME)
  # Wine's tools read any argument starting with "/" as a switch, so the
  # script is copied next to the DLL and named relative to it.
  configure_file(${script} ${VARDOLIN_TEST_DIR}/${script_name} COPYONLY)
  add_test(NAME vbs.${name}
           COMMAND ${VARDOLIN_WINE} cscript ${script_name}
           WORKING_DIRECTORY ${VARDOLIN_TEST_DIR})
  set_tests_properties(vbs.${name} PROPERTIES
    PASS_REGULAR_EXPRESSION "(^|\n)0 failed"
    FIXTURES_REQUIRED ${VARDOLIN_COM_FIXTURE}
    TIMEOUT 60)
  if(ARG_TEXTS)
    get_filename_component(texts_name ${ARG_TEXTS} NAME)
    get_filename_component(texts_source ${ARG_TEXTS} ABSOLUTE)
    add_custom_command(OUTPUT ${VARDOLIN_TEST_DIR}/${texts_name}
      COMMAND iconv -f UTF-8 -t UTF-16 -o ${VARDOLIN_TEST_DIR}/${texts_name} ${texts_source}
      DEPENDS ${texts_source})
    add_custom_target(vbs_texts_${name} ALL DEPENDS ${VARDOLIN_TEST_DIR}/${texts_name})
  endif()
endfunction()

# The demo camera first: the capture tests link its scene.
add_subdirectory(democam)

# The Win32/COM foundation and late binding to the host, beneath every window.
add_subdirectory(win)
add_subdirectory(automation)

# The roster and the About window, and the capture window that holds them,
# linked into vardolin.dll.
foreach(part roster about capture)
  add_subdirectory(${part})
endforeach()
set(VARDOLIN_COMPONENT_LIBRARIES vardolin_capture vardolin_roster vardolin_about)

add_subdirectory(server)
add_subdirectory(devhost)
add_subdirectory(tests)

