# Warnings in one place: every project target calls ostrel_warnings().
add_library(ostrel_warnings INTERFACE)
target_compile_options(ostrel_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
if(OSTREL_WERROR)
  target_compile_options(ostrel_warnings INTERFACE -Werror)
endif()
