# Warnings for the project's own targets: all of them on. BRISKO_WERROR makes them errors; CI turns it
# on (scripts/test), so a warning never lands, while a newer compiler's new warning does not stop a
# developer's build.
option(BRISKO_WERROR "Treat warnings in project code as errors" OFF)

function(brisko_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic $<$<BOOL:${BRISKO_WERROR}>:-Werror>)
endfunction()
