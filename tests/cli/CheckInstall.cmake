# `cmake --install` into a scratch prefix puts the program, its man page and its bash completion in
# place; the page reads cleanly with man, and the completion offers exactly the options --help lists.
# MAN_PAGE is false when help2man was missing: the page is then not checked and the test is skipped.
# The same English, UTF-8 locale the page was made in, whatever the caller's: man in plain C cannot
# show the page's Japanese folder names.
set(ENV{LC_ALL} C.UTF-8)
set(prefix ${SCRATCH}/prefix)
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix} OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(program ${prefix}/bin/palvenor-cli)
execute_process(COMMAND ${program} --version OUTPUT_VARIABLE version RESULT_VARIABLE failed)
if(failed OR NOT version STREQUAL "${VERSION}\n")
  message(FATAL_ERROR "the installed program says [${version}], expected ${VERSION}")
endif()

execute_process(COMMAND ${program} --help OUTPUT_VARIABLE help)
string(REGEX MATCHALL "--[a-z-]+" help_options "${help}")
list(REMOVE_DUPLICATES help_options)
list(SORT help_options)
set(completion ${prefix}/share/bash-completion/completions/palvenor-cli)
execute_process(
  COMMAND bash -c "source '${completion}' && COMP_WORDS=(palvenor-cli --) COMP_CWORD=1 && _palvenor_cli && printf '%s\\n' \"\${COMPREPLY[@]}\""
  OUTPUT_VARIABLE offered RESULT_VARIABLE failed)
string(STRIP "${offered}" offered)
string(REPLACE "\n" ";" offered "${offered}")
list(SORT offered)
if(failed OR NOT offered STREQUAL help_options)
  message(FATAL_ERROR "the completion offers [${offered}], --help lists [${help_options}]")
endif()

if(NOT MAN_PAGE)
  message("help2man was missing at build time: no man page to check")
  return()
endif()
set(page ${prefix}/share/man/man1/palvenor-cli.1)
# man-db's sandbox is refused inside some containers; the page needs none.
set(ENV{MAN_DISABLE_SECCOMP} 1)
set(ENV{MANWIDTH} 100)
execute_process(COMMAND man --warnings -l ${page} OUTPUT_VARIABLE shown ERROR_VARIABLE warnings RESULT_VARIABLE failed)
if(failed OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "man -l ${page} failed (${failed}): ${warnings}")
endif()
foreach(expected "palvenor-cli - recover mail" "DBXFILE" ${help_options} "Exit status:" "130")
  string(FIND "${shown}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the man page lacks \"${expected}\":\n${shown}")
  endif()
endforeach()
