# Installs the build into a staging prefix and builds the C interface test
# against the installed header and library alone, then runs it.
set(stage ${BUILD}/stage)
file(REMOVE_RECURSE ${stage})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${stage} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed")
endif()
file(GLOB libdirs ${stage}/lib*)
execute_process(
  COMMAND ${CC} -std=c99 -Wall -Werror -pedantic -I${stage}/include ${SOURCE} -L${libdirs} -ltova_api
          -Wl,-rpath,${libdirs} -o ${stage}/c_interface_installed
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "compiling against the installed library failed")
endif()
execute_process(COMMAND ${stage}/c_interface_installed RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the C interface test failed against the installed library")
endif()
