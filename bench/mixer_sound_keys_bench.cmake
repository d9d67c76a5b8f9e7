# mixer_sound_keys_bench.exe: idle processor time with the keyboard and the
# mixer open, and the steps of a 2 s volume-up hold. Run it with
# bench/mixer_sound_keys_bench.sh.
add_executable(mixer_sound_keys_bench ${CMAKE_SOURCE_DIR}/bench/mixer_sound_keys_bench.cpp)
target_link_options(mixer_sound_keys_bench PRIVATE ${MMK_TEST_LINK})
target_link_libraries(mixer_sound_keys_bench PRIVATE mmk_test_support)
add_dependencies(mixer_sound_keys_bench MMKeyboard-sim)
set_target_properties(mixer_sound_keys_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
