# Helpers so every folder declares its targets the same way.

# vantrel_library(NAME SOURCES ... LIBS ...): a static library of our code, with src/ on its include path.
function(vantrel_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE -Wall -Wextra)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# vantrel_test(NAME SOURCES ... LIBS ...): a GoogleTest binary whose cases CTest lists one by one.
# Its main() creates a QApplication on the offscreen platform.
function(vantrel_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE -Wall -Wextra)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} vantrel_test_support)
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
