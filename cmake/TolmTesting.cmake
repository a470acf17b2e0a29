# tolm_add_gtest(NAME <name> LABEL <label> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable registered with CTest under the given label.
function(tolm_add_gtest)
    cmake_parse_arguments(T "" "NAME;LABEL" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    # Test programs stay in their own folders; the top of the build tree holds the programs.
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    # A data folder of their own: the user's part files (and production log) never reach a test.
    gtest_discover_tests(${T_NAME}
        PROPERTIES LABELS ${T_LABEL}
                   ENVIRONMENT "XDG_DATA_HOME=${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}-data"
        DISCOVERY_TIMEOUT 30
        NO_PRETTY_VALUES)
endfunction()

# tolm_add_qttest(NAME <name> SOURCES <files...> LIBS <targets...>)
# One Qt Test executable, run offscreen with its own configuration directory.
function(tolm_add_qttest)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} Qt6::Test)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES
        LABELS gui
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}-config;XDG_DATA_HOME=${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}-data"
        TIMEOUT 120)
endfunction()

include(GoogleTest)
