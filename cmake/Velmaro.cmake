# SPDX-License-Identifier: GPL-3.0-or-later
# Build settings shared by every target of the project.

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

option(VELMARO_BUILD_TESTS "Build the test programs." ON)
option(VELMARO_WERROR "Treat compiler warnings as errors (CI)." OFF)
set(VELMARO_SANITIZE "" CACHE STRING
    "Comma-separated sanitizers for every target, e.g. address,undefined or thread.")
option(VELMARO_FUZZ
    "Build only the Qt-free libraries and the fuzz targets, as libFuzzer programs (clang)." OFF)
set(VELMARO_NEWS_URL "" CACHE STRING
    "Address of the news file the program fetches at start; empty: no news check.")

add_compile_options(-Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual
                    -Werror=return-type)
if(VELMARO_WERROR)
    add_compile_options(-Werror)
endif()
# GCC 12 at -O3 reports "literal" + std::string as an overlapping memcpy (GCC bug 105651, fixed
# in 13); the warning is false there and would fail every Release build with -Werror.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    add_compile_options(-Wno-restrict)
endif()
if(VELMARO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "VELMARO_FUZZ needs clang: -DCMAKE_CXX_COMPILER=clang++")
    endif()
    # The fuzz programs add -fsanitize=fuzzer when they link (tests/fuzz/CMakeLists.txt).
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
elseif(VELMARO_SANITIZE)
    add_compile_options(-fsanitize=${VELMARO_SANITIZE} -fno-omit-frame-pointer
                        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${VELMARO_SANITIZE})
endif()

# Every executable the project links goes through this, so that whatever all
# our programs must carry is added in one place: the version resource section
# (resources/CMakeLists.txt).
function(velmaro_executable target)
    target_link_libraries(${target} PRIVATE velmaro_version_section)
endfunction()

# The leak sanitizer's options for every test: the suppressions of third-party leaks.
set(VELMARO_LSAN_OPTIONS "suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")

# Every test program labelled "threaded", so that the thread-sanitizer run of CI builds only
# those: cmake --build <dir> --target threaded_tests.
add_custom_target(threaded_tests)
function(velmaro_add_threaded_dependency name labels)
    if("threaded" IN_LIST labels)
        add_dependencies(threaded_tests ${name})
    endif()
endfunction()

# A GoogleTest program: one ctest entry per test, each with a timeout.
# velmaro_add_gtest(NAME SOURCES ... LIBS ... [LABELS ...] [TIMEOUT seconds])
function(velmaro_add_gtest name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 60)
    endif()
    find_package(GTest REQUIRED)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    velmaro_executable(${name})
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                         PROPERTIES TIMEOUT ${ARG_TIMEOUT}
                         ENVIRONMENT "LSAN_OPTIONS=${VELMARO_LSAN_OPTIONS}"
                         # Last: an empty list of labels would take the next key as its value.
                         LABELS "${ARG_LABELS}")
    velmaro_add_threaded_dependency(${name} "${ARG_LABELS}")
endfunction()

# A Qt Test program: one ctest entry, run on the offscreen platform, with a timeout.
# velmaro_add_qttest(NAME SOURCES ... LIBS ... [LABELS ...] [TIMEOUT seconds])
function(velmaro_add_qttest name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
    velmaro_executable(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}"
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/qttest.tsan-supp;LSAN_OPTIONS=${VELMARO_LSAN_OPTIONS}")
    velmaro_add_threaded_dependency(${name} "${ARG_LABELS}")
endfunction()
