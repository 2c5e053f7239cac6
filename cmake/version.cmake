# cmake -DSOURCE_DIR=... -DOUTPUT=... -DVERSION=... -P version.cmake
#
# Writes OUTPUT, the C++ source of vivarix::versionText(): VERSION, and when
# SOURCE_DIR is the top of a git checkout its commit, with ", modified" when
# tracked files differ from it ("0.4 (git 1a2b3c4d5e6f, modified)").  A source
# tree without git (a tarball) gives VERSION alone.  Run at configure time and
# before every build; OUTPUT is written only when its text changes, so that an
# unchanged version rebuilds nothing.
set(text "${VERSION}")
find_program(GIT git)
if(GIT)
  execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" rev-parse --show-toplevel --short=12 HEAD
                  OUTPUT_VARIABLE answer RESULT_VARIABLE failed ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REPLACE "\n" ";" answer "${answer}")
  list(LENGTH answer fields)
  if(NOT failed AND fields EQUAL 2)
    list(GET answer 0 top)
    list(GET answer 1 commit)
    file(REAL_PATH "${SOURCE_DIR}" source)
    file(REAL_PATH "${top}" top)
    # A tarball unpacked inside some other checkout is not that checkout.
    if(top STREQUAL source)
      execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
                      OUTPUT_VARIABLE changes RESULT_VARIABLE failed ERROR_QUIET)
      if(NOT failed AND NOT changes STREQUAL "")
        set(text "${text} (git ${commit}, modified)")
      else()
        set(text "${text} (git ${commit})")
      endif()
    endif()
  endif()
endif()

set(source "// Written by cmake/version.cmake; do not edit.
#include \"platform/core/version.h\"

const char* vivarix::versionText() { return \"${text}\"; }
")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL source)
  file(WRITE "${OUTPUT}" "${source}")
endif()
