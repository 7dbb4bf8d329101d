# Helpers so every folder declares its targets the same way.

# vantrel_library(NAME SOURCES ... LIBS ...): a static library of our code. Its headers are
# published one by one, as links under build/include/NAME/<path below src>, and that folder is
# the only include path it hands on: code sees the headers of the libraries it links and no
# others, so a lower layer that includes from a higher one fails to build.
function(vantrel_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    set(published ${CMAKE_BINARY_DIR}/include/${name})
    file(REMOVE_RECURSE ${published})
    # A listed header, or the header beside a listed source.
    foreach(source ${ARG_SOURCES})
        get_filename_component(path ${source} ABSOLUTE)
        string(REGEX REPLACE "\\.cpp$" ".h" path ${path})
        if(path MATCHES "\\.h$" AND EXISTS ${path})
            file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR}/src ${path})
            get_filename_component(folder ${published}/${relative} DIRECTORY)
            file(MAKE_DIRECTORY ${folder})
            file(CREATE_LINK ${path} ${published}/${relative} SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${name} PUBLIC ${published})
    target_compile_options(${name} PRIVATE -Wall -Wextra)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# vantrel_test(NAME [CORE] SOURCES ... LIBS ...): a GoogleTest binary whose cases CTest lists
# one by one. Its main() creates a QApplication on the offscreen platform; with CORE, a
# QGuiApplication and no widget library at all.
function(vantrel_test name)
    cmake_parse_arguments(ARG "CORE" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE -Wall -Wextra)
    if(ARG_CORE)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} vantrel_test_support_core)
    else()
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} vantrel_test_support)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
