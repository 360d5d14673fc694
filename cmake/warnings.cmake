# Warnings as errors for the project's own code; call z4_strict(target) on every target we own.
function(z4_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion -Werror)
endfunction()
