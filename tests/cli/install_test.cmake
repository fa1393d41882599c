# Installs the build into a fresh prefix and runs the installed command line,
# which must find the installed libvexlib.so.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(result)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file bin/orvista-cli ${MANDIR}/man1/orvista-cli.1 ${LIBDIR}/libvexlib.so include/vexlib.h ${WIZARD_FILES})
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# Run from a folder without the build's library beside it.
set(work ${PREFIX}/work)
file(MAKE_DIRECTORY ${work})
file(WRITE ${work}/raw "orvista orvista orvista orvista tiles tiles tiles")
foreach(step "compress;raw;packed" "decompress;packed;back")
  list(GET step 0 command)
  list(GET step 1 in)
  list(GET step 2 out)
  execute_process(COMMAND ${PREFIX}/bin/orvista-cli ${command} ${work}/${in} ${work}/${out}
                  RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(result)
    message(FATAL_ERROR "installed orvista-cli ${command} failed (${result}): ${errors}")
  endif()
endforeach()
file(READ ${work}/raw raw)
file(READ ${work}/back back)
if(NOT raw STREQUAL back)
  message(FATAL_ERROR "the installed codec did not give the bytes back")
endif()
file(REMOVE_RECURSE ${PREFIX})
