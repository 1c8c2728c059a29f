# Warnings for the project's own targets: all of them on, none tolerated in project code.
function(brisko_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()
