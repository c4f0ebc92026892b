# wordbay_add_test(NAME SOURCES src... LIBS lib... [SANITIZE] [LABELS l...])
# Builds one GoogleTest program and registers each of its tests with CTest.
# Its sources may include the shared test support, testing/test_support.h.
# SANITIZE marks the tests that CI runs again in the sanitizer build.
# Without GoogleTest it does nothing.
function(wordbay_add_test name)
    if(NOT TARGET GTest::gtest)
        return()
    endif()
    cmake_parse_arguments(T "SANITIZE" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    # Every test program sees the shared test support (testing/), through a
    # view of its own beside the layer views of cmake/WordbayLayers.cmake.
    set(view ${CMAKE_BINARY_DIR}/layers/${name}.testing)
    file(REMOVE_RECURSE ${view})
    file(MAKE_DIRECTORY ${view})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/testing ${view}/testing SYMBOLIC)
    target_include_directories(${name} PRIVATE ${view})
    set(labels ${T_LABELS})
    if(T_SANITIZE)
        list(APPEND labels sanitize)
    endif()
    # Every case is bounded: a hang fails it instead of holding up the run.
    # Look-up images the program writes go to a cache of the build's own.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES LABELS "${labels}" TIMEOUT 120
                                    ENVIRONMENT "XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/test-cache"
                         WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()
