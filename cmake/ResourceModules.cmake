# Resource-only Windows modules (pane libraries) built from .rc files with
# the MinGW resource compiler and linker from Debian's binutils-mingw-w64.
#
#   quorvel_find_module_tools(ARCH...)   ARCH: x86_64 or i686
#   quorvel_add_module(OUTPUT dll RC file ARCH arch
#                      [INCLUDE_DIRS dir...] [DEPENDS file-or-target...])

function(quorvel_find_module_tools)
  find_program(QUORVEL_CPP cpp)
  foreach(arch ${ARGN})
    find_program(QUORVEL_WINDRES_${arch} ${arch}-w64-mingw32-windres)
    find_program(QUORVEL_LD_${arch} ${arch}-w64-mingw32-ld)
    if(NOT QUORVEL_WINDRES_${arch} OR NOT QUORVEL_LD_${arch} OR NOT QUORVEL_CPP)
      message(FATAL_ERROR "Building pane library modules needs cpp, ${arch}-w64-mingw32-windres and "
                          "${arch}-w64-mingw32-ld (Debian's binutils-mingw-w64). Run scripts/install-deps.")
    endif()
  endforeach()
endfunction()

function(quorvel_add_module)
  cmake_parse_arguments(M "" "OUTPUT;RC;ARCH" "INCLUDE_DIRS;DEPENDS" ${ARGN})
  get_filename_component(rc ${M_RC} ABSOLUTE)
  get_filename_component(rcdir ${rc} DIRECTORY)
  get_filename_component(stem ${M_OUTPUT} NAME_WE)
  set(obj ${CMAKE_CURRENT_BINARY_DIR}/${stem}_${M_ARCH}.o)
  set(includes -I ${rcdir})
  foreach(d ${M_INCLUDE_DIRS})
    list(APPEND includes -I ${d})
  endforeach()
  get_filename_component(outdir ${M_OUTPUT} DIRECTORY)
  add_custom_command(OUTPUT ${obj}
    COMMAND ${QUORVEL_WINDRES_${M_ARCH}} --preprocessor=${QUORVEL_CPP} --preprocessor-arg=-xc
            ${includes} ${rc} -O coff -o ${obj}
    DEPENDS ${rc} ${M_DEPENDS}
    COMMENT "Compiling resources ${M_RC} (${M_ARCH})"
    VERBATIM)
  # No entry point, no symbols, no time stamp: the same sources give the
  # same module bytes.
  add_custom_command(OUTPUT ${M_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
    COMMAND ${QUORVEL_LD_${M_ARCH}} -shared -e 0 -s --no-insert-timestamp -o ${M_OUTPUT} ${obj}
    DEPENDS ${obj}
    COMMENT "Linking resource module ${M_OUTPUT}"
    VERBATIM)
endfunction()
