# Checks the publisher's profiles with the product's own parser and generates each program's .rc
# file from a template under resources/, stamping the version strings with the profile's values
# as the checker reads them.

# The checker is built for the build machine by a nested configure of cmake/profile-checker with
# the host compiler, so a cross build can run it now.
set(PARCELWRIGHT_PROFILE_CHECK_DIR "${CMAKE_BINARY_DIR}/profile-check")
set(PARCELWRIGHT_PROFILE_CHECK "${PARCELWRIGHT_PROFILE_CHECK_DIR}/parcelwright-profile-check")

function(parcelwright_build_profile_check)
  set(project "${PROJECT_SOURCE_DIR}/cmake/profile-checker")
  if(NOT EXISTS "${PARCELWRIGHT_PROFILE_CHECK_DIR}/CMakeCache.txt")
    execute_process(
      COMMAND "${CMAKE_COMMAND}" -S "${project}" -B "${PARCELWRIGHT_PROFILE_CHECK_DIR}"
              -G "${CMAKE_GENERATOR}" -DCMAKE_BUILD_TYPE=Release
      RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(failed)
      message(FATAL_ERROR "Configuring the host profile checker failed:\n${output}")
    endif()
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" --build "${PARCELWRIGHT_PROFILE_CHECK_DIR}"
                  RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(failed)
    message(FATAL_ERROR "Building the host profile checker failed:\n${output}")
  endif()
  # A change to the checker's sources checks the profiles again with the new code.
  file(GLOB sources "${PROJECT_SOURCE_DIR}/profile/*.cpp" "${PROJECT_SOURCE_DIR}/profile/*.h"
       "${PROJECT_SOURCE_DIR}/platform/host/text_host.cpp" "${project}/CMakeLists.txt")
  set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${sources})
endfunction()

# Checks FILE (ROLE package or sample) and stops the configure on an error; warnings go on.
# With VALUES, writes there the CMake set(PROFILE_<key> ...) lines of every string value.
# TEST_PROFILE reports warnings as status lines (test profiles serve plain http on loopback).
function(parcelwright_check_profile file role)
  cmake_parse_arguments(ARG "TEST_PROFILE" "VALUES" "" ${ARGN})
  set(options --quiet)
  if(role STREQUAL "sample")
    list(APPEND options --sample)
  endif()
  if(ARG_VALUES)
    list(APPEND options --rc-values "${ARG_VALUES}")
  endif()
  execute_process(COMMAND "${PARCELWRIGHT_PROFILE_CHECK}" ${options} "${file}"
                  RESULT_VARIABLE result ERROR_VARIABLE findings)
  string(STRIP "${findings}" findings)
  # Indented lines are printed as they are, not wrapped, so each finding stays one line.
  string(REPLACE "\n" "\n  " findings "  ${findings}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "The ${role} profile has errors (fix them, then configure again):\n"
                        "${findings}")
  elseif(findings STREQUAL "  ")
  elseif(ARG_TEST_PROFILE)
    message(STATUS "${findings}")
  else()
    message(WARNING "The ${role} profile has warnings:\n${findings}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
endfunction()

if(WIN32)
  parcelwright_build_profile_check()
  parcelwright_check_profile("${PARCELWRIGHT_SAMPLE_PROFILE}" sample)
endif()

# Writes ${CMAKE_CURRENT_BINARY_DIR}/NAME.rc from resources/NAME.rc.in. The template sees the
# publisher inputs and every string key of the profile as @PROFILE_<key>@, escaped for an .rc
# string literal. TEST_PROFILE as for parcelwright_check_profile.
function(parcelwright_resource_file name)
  cmake_parse_arguments(ARG "TEST_PROFILE" "" "KEYS" ${ARGN})
  set(values "${CMAKE_CURRENT_BINARY_DIR}/${name}.profile-values.cmake")
  set(test_profile "")
  if(ARG_TEST_PROFILE)
    set(test_profile TEST_PROFILE)
  endif()
  parcelwright_check_profile("${PARCELWRIGHT_PROFILE}" package VALUES "${values}" ${test_profile})
  include("${values}")
  set(MANIFEST "${PARCELWRIGHT_RESOURCES}/parcelwright.manifest")
  configure_file("${PARCELWRIGHT_RESOURCES}/${name}.rc.in" "${CMAKE_CURRENT_BINARY_DIR}/${name}.rc"
                 @ONLY)
endfunction()
