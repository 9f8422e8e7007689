# Generates a program's .rc file from a template under resources/, stamping the version strings
# with values read from the publisher's profile.

# The value of KEY in the profile text FILE (the last line of the key wins), escaped for an .rc
# string literal. Profile escapes \\ \e \n \r \t are honoured; an absent key gives "".
function(parcelwright_profile_value file key out)
  file(READ "${file}" text)
  string(ASCII 1 semicolon)
  string(ASCII 2 backslash)
  string(REPLACE ";" "${semicolon}" text "\n${text}")
  string(REGEX MATCHALL "\n${key}=[^\n]*" lines "${text}")
  set(value "")
  if(lines)
    list(GET lines -1 line)
    string(LENGTH "\n${key}=" prefix)
    string(SUBSTRING "${line}" ${prefix} -1 value)
    string(REGEX REPLACE "\r$" "" value "${value}")
  endif()
  # Profile escapes to .rc escapes: \n \r \t mean the same in both; \e is '='; a doubled
  # backslash is one backslash; any other backslash is kept as a literal one.
  string(REPLACE "\\\\" "${backslash}" value "${value}")
  string(REPLACE "\\e" "=" value "${value}")
  string(REGEX REPLACE "\\\\([^nrt]|$)" "${backslash}\\1" value "${value}")
  string(REPLACE "${backslash}" "\\\\" value "${value}")
  string(REPLACE "\"" "\"\"" value "${value}")
  string(REPLACE "${semicolon}" ";" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# Writes ${CMAKE_CURRENT_BINARY_DIR}/NAME.rc from resources/NAME.rc.in. The template sees the
# publisher inputs and every profile key named in KEYS as @PROFILE_<key>@.
function(parcelwright_resource_file name)
  cmake_parse_arguments(ARG "" "" "KEYS" ${ARGN})
  foreach(key IN LISTS ARG_KEYS)
    parcelwright_profile_value("${PARCELWRIGHT_PROFILE}" ${key} PROFILE_${key})
  endforeach()
  set(MANIFEST "${PARCELWRIGHT_RESOURCES}/parcelwright.manifest")
  configure_file("${PARCELWRIGHT_RESOURCES}/${name}.rc.in" "${CMAKE_CURRENT_BINARY_DIR}/${name}.rc"
                 @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${PARCELWRIGHT_PROFILE}")
endfunction()
