# Installs the build into a fresh prefix; builds a C program against the
# installed vexlib through its .pc file; then runs the installed command line,
# which must find the installed library by its soname alone.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(result)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(lib ${PREFIX}/${LIBDIR})
foreach(file bin/orvista-cli ${MANDIR}/man1/orvista-cli.1 ${LIBDIR}/libvexlib.so ${LIBDIR}/${VEXLIB_SONAME}
        ${LIBDIR}/pkgconfig/vexlib.pc include/vexlib.h ${WIZARD_FILES})
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The manual page carries the project's version, not its template's placeholder.
file(STRINGS ${PREFIX}/${MANDIR}/man1/orvista-cli.1 title REGEX "^\\.TH ")
if(NOT title MATCHES "\"Orvista ${VERSION}\"")
  message(FATAL_ERROR "installed manual page: ${title}")
endif()

execute_process(COMMAND objdump -p ${lib}/libvexlib.so OUTPUT_VARIABLE headers RESULT_VARIABLE result)
if(result OR NOT headers MATCHES "SONAME +${VEXLIB_SONAME}\n")
  message(FATAL_ERROR "libvexlib.so has no soname ${VEXLIB_SONAME}")
endif()

set(work ${PREFIX}/work)
file(MAKE_DIRECTORY ${work})
set(ENV{PKG_CONFIG_LIBDIR} ${lib}/pkgconfig)
execute_process(COMMAND pkg-config --modversion vexlib OUTPUT_VARIABLE version
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
if(result OR NOT version STREQUAL VEXLIB_VERSION)
  message(FATAL_ERROR "pkg-config --modversion vexlib: '${version}', expected ${VEXLIB_VERSION}")
endif()
execute_process(COMMAND pkg-config --cflags --libs vexlib OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(flags UNIX_COMMAND "${flags}")
file(WRITE ${work}/use.c "#include <vexlib.h>\n"
           "int main(void) { return VexMaxEncodedSize(100) == VEX_MAX_ENCODED_SIZE(100) ? 0 : 1; }\n")
execute_process(COMMAND ${CC} ${CC_FLAGS} ${work}/use.c ${flags} -o ${work}/use
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(result)
  message(FATAL_ERROR "building against the installed vexlib failed: ${errors}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${lib} ${work}/use
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(result)
  message(FATAL_ERROR "a program linked through vexlib.pc failed (${result}): ${errors}")
endif()

# A run-time install has no development link; run from a folder without the
# build's library beside it.
file(REMOVE ${lib}/libvexlib.so)
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
