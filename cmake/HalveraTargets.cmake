# Helpers shared by the folders' CMakeLists files.

function(halvera_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
endfunction()

# Test code is compiled for debugging, not speed: at -O2 its large test bodies
# cost twice the compile time of -Og (measured on the GUI and file tests), and
# what the tests run fast (the core and the windows) keeps its own flags.
function(halvera_set_test_code_options target)
    target_compile_options(${target} PRIVATE -Og)
endfunction()

# halvera_add_test(<name> [GUI] [NO_LEAK_CHECK] SOURCES <files...>)
# A GoogleTest executable registered with ctest. GUI tests link the Qt layer and
# run headless through the shared GUI test main. NO_LEAK_CHECK turns the leak
# check of a sanitized build (make sanitize) off for this program alone, for a
# third-party library that leaks where no suppression can name it; the
# address and undefined-behaviour checks stay on.
function(halvera_add_test name)
    cmake_parse_arguments(ARG "GUI;NO_LEAK_CHECK" "" "SOURCES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    # Compiled as unity files of eight test files each: a test file's own code
    # is small beside what every file pays again (loading the precompiled Qt
    # and GoogleTest headers, emitting their instantiations), which a unity
    # file pays once; test_shell's eleven files compile in a third of the
    # time. Helpers in a test file's unnamed namespace must therefore be
    # named for that file, or shared through tests/support.
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON)
    halvera_set_warnings(${name})
    halvera_set_test_code_options(${name})
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE halvera_gui_test_support)
        target_precompile_headers(${name} REUSE_FROM halvera_gui_test_headers)
    else()
        target_link_libraries(${name} PRIVATE halvera_test_support GTest::gtest_main)
        set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
        target_precompile_headers(${name} REUSE_FROM halvera_test_headers)
    endif()
    # Instrumented code runs two to three times slower (make sanitize).
    set(slowdown 1)
    if(HALVERA_SANITIZE)
        set(slowdown 3)
    endif()
    math(EXPR discoveryTimeout "60 * ${slowdown}")
    math(EXPR timeout "300 * ${slowdown}")
    # One variable, and no property whose value is a list: the discovery
    # splits property values at every ';' (not escapable in this CMake), so
    # "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" became two arguments, which
    # shifted every later name and value (the timeout was never applied, nor
    # LC_ALL, which the tests have not needed).
    set(sanitizerOptions "")
    if(ARG_NO_LEAK_CHECK)
        # LSAN_OPTIONS is read after ASAN_OPTIONS, so this wins over the run's
        # detect_leaks=1; appended, it keeps the run's suppressions.
        set(sanitizerOptions ENVIRONMENT_MODIFICATION "LSAN_OPTIONS=string_append::detect_leaks=0")
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT ${discoveryTimeout}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT ${timeout} ${sanitizerOptions})
endfunction()

# halvera_add_benchmark(<name> SOURCES <files...>)
# Every benchmark program lands in <build>/bench/, where `make bench` runs them.
function(halvera_add_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench
                                             AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
    halvera_set_warnings(${name})
    target_link_libraries(${name} PRIVATE halvera_core halvera_bench_support benchmark::benchmark_main)
    set_property(GLOBAL APPEND PROPERTY HALVERA_BENCHMARKS ${name})
endfunction()
