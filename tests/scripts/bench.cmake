# The benchmark runs at all and prints its tables: a short run of every
# recorded game at both scales. It measures; nothing here asserts on time.
if(TARGET voltaro-bench)
  add_test(NAME voltaro_bench_runs
    COMMAND $<TARGET_FILE:voltaro-bench> --frames 240 --loads 2 --scales 1,3)
  set_tests_properties(voltaro_bench_runs PROPERTIES
    TIMEOUT 300
    ENVIRONMENT "SDL_VIDEODRIVER=dummy"
    PASS_REGULAR_EXPRESSION "\\| pendix-voltaro3 \\| 3 \\| [0-9]+ \\|.*\\| Gearworks \\| 2 \\|")
endif()
