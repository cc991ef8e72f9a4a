# Compiler settings shared by every target of the project.

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
  set(CMAKE_CXX_COMPILER_LAUNCHER "${CCACHE_PROGRAM}")
endif()

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
                    -Wcast-align -Wunused -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
if(VERSALEO_WERROR)
  add_compile_options(-Werror)
endif()

if(VERSALEO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Every library a harness reaches is built with coverage feedback and the
# sanitizers; only the harnesses link the fuzzer's own main.
if(VERSALEO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VERSALEO_FUZZ needs clang (CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(BUILD_TESTING)
  add_library(versaleo_test_main STATIC ${CMAKE_CURRENT_LIST_DIR}/testmain/TestMain.cpp)
  target_link_libraries(versaleo_test_main PUBLIC GTest::gtest GTest::gmock)
  target_include_directories(versaleo_test_main PUBLIC ${CMAKE_CURRENT_LIST_DIR}/testmain)
endif()

# The widget tests' main: it owns the QApplication.
function(versaleo_widget_test_main)
  if(NOT TARGET versaleo_test_main_widgets)
    find_package(Qt6 REQUIRED COMPONENTS Widgets)
    add_library(versaleo_test_main_widgets STATIC ${PROJECT_SOURCE_DIR}/cmake/testmain/TestMainWidgets.cpp)
    target_link_libraries(versaleo_test_main_widgets PUBLIC GTest::gtest GTest::gmock Qt6::Widgets)
    target_include_directories(versaleo_test_main_widgets PUBLIC ${PROJECT_SOURCE_DIR}/cmake/testmain)
  endif()
endfunction()

# A test target: links GoogleTest, runs headless and finds its tests.
function(versaleo_add_test name)
  cmake_parse_arguments(ARG "WIDGETS" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_WIDGETS)
    versaleo_widget_test_main()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} versaleo_test_main_widgets)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} versaleo_test_main)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
