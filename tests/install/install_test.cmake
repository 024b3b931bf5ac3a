# Installs the build into WORK_DIR/prefix, registers the installed component in a registration
# file of its own, and builds and runs an outside host against the installed tree twice: found
# through find_package(Numeron) and through pkg-config. Any failing step fails the test.
# Inputs (-D): BUILD_DIR LIBDIR OUTSIDE_DIR WORK_DIR GENERATOR CXX CXX_FLAGS READELF
cmake_minimum_required(VERSION 3.25)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command}\nfailed (${status}):\n${out}\n${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

function(expect what actual expected)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${what}: expected\n${expected}\ngot\n${actual}")
  endif()
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")

# The component library carries its major version in its name, behind the unversioned link.
set(component "${prefix}/${LIBDIR}/libNumeronCtl.so")
foreach(file "${component}" "${component}.1" "${prefix}/${LIBDIR}/libnumeron_platform.a"
             "${prefix}/bin/numeron" "${prefix}/bin/numeron-register"
             "${prefix}/include/numeron/client/numeron.h"
             "${prefix}/${LIBDIR}/cmake/Numeron/NumeronConfig.cmake"
             "${prefix}/${LIBDIR}/pkgconfig/numeron.pc")
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
if(READELF)
  run(${READELF} -d "${component}")
  if(NOT output MATCHES "SONAME\\)[^\n]*\\[libNumeronCtl\\.so\\.1\\]")
    message(FATAL_ERROR "libNumeronCtl.so lacks the SONAME libNumeronCtl.so.1:\n${output}")
  endif()
endif()

# Register the installed library, as the README tells users to, in a file of the test's own.
set(ENV{NUMERON_REGISTRY} "${WORK_DIR}/registry")
run("${prefix}/bin/numeron-register" "${component}")
run("${prefix}/bin/numeron" Add 1.5 2)
expect("installed numeron" "${output}" "3.5\n")

set(ENV{PKG_CONFIG_PATH} "${prefix}/${LIBDIR}/pkgconfig")
foreach(find cmake pkg-config)
  set(options -DNUMERON_FIND=${find})
  if(find STREQUAL "cmake")
    list(APPEND options "-DCMAKE_PREFIX_PATH=${prefix}")
  endif()
  run(${CMAKE_COMMAND} -S "${OUTSIDE_DIR}" -B "${WORK_DIR}/${find}" -G "${GENERATOR}"
      "-DCMAKE_CXX_COMPILER=${CXX}" "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" ${options})
  run(${CMAKE_COMMAND} --build "${WORK_DIR}/${find}")
  run("${WORK_DIR}/${find}/host")
  expect("host found through ${find}" "${output}" [[
typed Pi: 3.14159265 (Precision 8)
dispatch Divide: 3.3333
typed Divide by 0: error -2147220499 You cannot divide a number by zero.  [Division by zero]
]])
endforeach()
