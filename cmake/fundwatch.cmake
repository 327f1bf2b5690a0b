# Helpers shared by the folder CMakeLists.

# fundwatch_folder_library(NAME DEPS...): a static library made of every .cpp
# in the current folder except the *_test.cpp files and main.cpp, linked
# PUBLIC to DEPS.
function(fundwatch_folder_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "(_test|/main)\\.cpp$")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    # A folder whose code is all in headers so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# fundwatch_folder_tests(NAME DEPS...): one GoogleTest executable made of the
# folder's *_test.cpp files, each test registered with CTest. The test main
# comes from the platform's test support, so GUI tests find an application
# object in the offscreen platform.
function(fundwatch_folder_tests name)
  if(NOT FUNDWATCH_TESTS)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} test_main GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
    DISCOVERY_TIMEOUT 60)
endfunction()
