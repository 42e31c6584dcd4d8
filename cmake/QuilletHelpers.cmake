# quillet_test(<name> [NO_WIDGETS] SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable, registered with ctest under <name>. Tests run with the
# offscreen Qt platform so that widget tests need no display. NO_WIDGETS: the test entry is a
# QCoreApplication and the executable links no Qt Widgets of its own.
function(quillet_test name)
    cmake_parse_arguments(ARG "NO_WIDGETS" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    # The shared test entry (tests/support/test_main.cpp).
    if(ARG_NO_WIDGETS)
        set(test_main quillet_test_main_core)
    else()
        set(test_main quillet_test_main)
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} quillet_test_support ${test_main} GTest::gmock GTest::gtest)
    target_compile_definitions(${name} PRIVATE QUILLET_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1"
        TIMEOUT 900)
endfunction()

# quillet_fuzz(<name> SOURCES <files...> LIBS <targets...>)
# A libFuzzer target; its seed corpus lives in fuzz/corpus/<name>/.
function(quillet_fuzz name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

# quillet_bench(<name> SOURCES <files...> LIBS <targets...>)
function(quillet_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()
