# keyboard_bench.exe: idle processor time of MMKeyboard-sim.exe and the time
# from a key report to the program it starts. Run it with bench/keyboard_bench.sh.
add_executable(keyboard_bench ${CMAKE_SOURCE_DIR}/bench/keyboard_bench.cpp
    ${CMAKE_SOURCE_DIR}/tests/e2e/SimulatedKeyboard.cpp)
target_link_options(keyboard_bench PRIVATE ${MMK_TEST_LINK})
target_link_libraries(keyboard_bench PRIVATE mmk_test_support)
add_dependencies(keyboard_bench MMKeyboard-sim ${MMK_STUB_TARGETS})
set_target_properties(keyboard_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
