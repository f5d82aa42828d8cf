# Precompiled headers: the system and standard headers our files parse
# (windows.h and GoogleTest are most of a file's compile time), compiled once
# per build and reused by every C++ target: on Windows every target of ours
# with the Windows definitions, natively the tests.
#
# How a target gets them: no CMakeLists.txt asks. The top-level
# CMakeLists.txt includes this file last, once every target exists, and
# vardolin_reuse_pch below walks the directories and gives each target with
# C++ sources the headers of vardolin_test_pch when it links GoogleTest, else
# those of vardolin_pch when it is built with the Windows definitions, else
# none (on Windows a target without those definitions gets none, its tests
# included). So a new target is covered by being added anywhere under the
# project; it still includes what it uses, the precompiled headers only make
# that cheaper.
set(vardolin_common_headers <algorithm> <chrono> <cstdint> <filesystem> <functional> <memory> <optional> <span>
    <string> <string_view> <vector>)
if(WIN32)
  set(vardolin_system_headers <windows.h> <ole2.h> <oleauto.h>)
endif()
if(NOT WIN32)
  find_package(GTest REQUIRED)
endif()
file(WRITE ${CMAKE_BINARY_DIR}/pch/pch.cpp "")
if(WIN32)
  add_library(vardolin_pch STATIC ${CMAKE_BINARY_DIR}/pch/pch.cpp)
  target_precompile_headers(vardolin_pch PRIVATE ${vardolin_system_headers} ${vardolin_common_headers})
endif()
add_library(vardolin_test_pch STATIC ${CMAKE_BINARY_DIR}/pch/pch.cpp)
target_precompile_headers(vardolin_test_pch PRIVATE ${vardolin_system_headers} ${vardolin_common_headers}
                          <gtest/gtest.h>)
target_link_libraries(vardolin_test_pch PRIVATE GTest::gtest)

function(vardolin_reuse_pch directory)
  # On Windows the portable encoder and face detector, added before the
  # Windows definitions, include no Windows header: only their tests share
  # the tests' headers there, as they do natively.
  get_property(definitions DIRECTORY ${directory} PROPERTY COMPILE_DEFINITIONS)
  set(windows_definitions FALSE)
  if(WIN32 AND "UNICODE" IN_LIST definitions)
    set(windows_definitions TRUE)
  endif()
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(sources ${target} SOURCES)
    if(target MATCHES "^vardolin_(test_)?pch$" OR NOT type MATCHES "LIBRARY|EXECUTABLE" OR type STREQUAL "INTERFACE_LIBRARY"
       OR NOT sources MATCHES "\\.cpp")
      continue()
    endif()
    get_target_property(links ${target} LINK_LIBRARIES)
    if(links MATCHES "GTest::" AND (windows_definitions OR NOT WIN32))
      set(reused vardolin_test_pch)
    elseif(windows_definitions)
      set(reused vardolin_pch)
    else()
      continue()
    endif()
    # C sources (the type library's) keep their own compile.
    foreach(source IN LISTS sources)
      if(source MATCHES "\\.c$")
        set_source_files_properties(${source} DIRECTORY ${directory} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
      endif()
    endforeach()
    target_precompile_headers(${target} REUSE_FROM ${reused})
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    if(NOT subdirectory MATCHES "^/usr/")
      vardolin_reuse_pch(${subdirectory})
    endif()
  endforeach()
endfunction()
vardolin_reuse_pch(${PROJECT_SOURCE_DIR})
