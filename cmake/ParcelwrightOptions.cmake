# Compiler settings shared by every target, and the publisher inputs of a branded build.

add_compile_options(-Wall -Wextra -Wpedantic)
include_directories("${PROJECT_SOURCE_DIR}")

if(WIN32)
  enable_language(RC)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00
                          WINVER=0x0A00)
  # Ship no runtime DLLs: the programs must start on a bare Windows system.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Reproducible programs: no link time stamp, and no source or build folder in the binaries
  # (the build folder's map comes last so it wins where it lies inside the source folder).
  add_link_options(-Wl,--no-insert-timestamp)
  add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
                      "-ffile-prefix-map=${CMAKE_BINARY_DIR}=build")
  # Test binaries run under Wine; every Wine start shares one prefix under the build folder.
  set(UNINSTALL_EXE "${CMAKE_BINARY_DIR}/bin/Uninstall.exe")
  set(PARCELWRIGHT_WINE_ROOT "${CMAKE_BINARY_DIR}/wine")
  set(CMAKE_CROSSCOMPILING_EMULATOR
      "${PROJECT_SOURCE_DIR}/cmake/wine-run.sh;${PARCELWRIGHT_WINE_ROOT}")
else()
  set(PARCELWRIGHT_SANITIZE "" CACHE STRING
      "Sanitizers for the host build: empty, 'address,undefined' or 'thread'")
  if(PARCELWRIGHT_SANITIZE)
    add_compile_options(-fsanitize=${PARCELWRIGHT_SANITIZE} -fno-omit-frame-pointer
                        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${PARCELWRIGHT_SANITIZE})
  endif()
  option(PARCELWRIGHT_FUZZ "Build the libFuzzer targets of tests/fuzz (clang only)" OFF)
  if(PARCELWRIGHT_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
      message(FATAL_ERROR "PARCELWRIGHT_FUZZ needs clang++ (the fuzz preset sets it).")
    endif()
    # Everything gets the coverage the fuzzer steers by; only the targets link its main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

set(PARCELWRIGHT_RESOURCES "${PROJECT_SOURCE_DIR}/resources")
set(PARCELWRIGHT_PROFILE "${PARCELWRIGHT_RESOURCES}/profiles/package.profile" CACHE FILEPATH
    "The package's profile (language-neutral RCDATA 201 of both programs)")
set(PARCELWRIGHT_SAMPLE_PROFILE "${PARCELWRIGHT_RESOURCES}/profiles/sample.en-US.profile"
    CACHE FILEPATH "The builder's sample profile (en-US RCDATA 201)")
set(PARCELWRIGHT_LOGO "${PARCELWRIGHT_RESOURCES}/images/logo.png" CACHE FILEPATH
    "Repair tool logo, PNG (RCDATA 202)")
set(PARCELWRIGHT_BACKGROUND "${PARCELWRIGHT_RESOURCES}/images/background.jpg" CACHE FILEPATH
    "Repair tool background, JPEG (RCDATA 207)")
set(PARCELWRIGHT_UNINSTALL_BACKGROUND
    "${PARCELWRIGHT_RESOURCES}/images/uninstall-background.jpg" CACHE FILEPATH
    "Uninstaller background, JPEG (RCDATA 206)")
set(PARCELWRIGHT_ICON "${PARCELWRIGHT_RESOURCES}/images/app.ico" CACHE FILEPATH
    "Icon of both programs (icon group 101)")

foreach(input PARCELWRIGHT_PROFILE PARCELWRIGHT_SAMPLE_PROFILE PARCELWRIGHT_LOGO
              PARCELWRIGHT_BACKGROUND PARCELWRIGHT_UNINSTALL_BACKGROUND PARCELWRIGHT_ICON)
  get_filename_component(${input} "${${input}}" ABSOLUTE BASE_DIR "${CMAKE_BINARY_DIR}")
  set(path "${${input}}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E cat "${path}" RESULT_VARIABLE unreadable
                  OUTPUT_QUIET ERROR_QUIET)
  if(IS_DIRECTORY "${path}" OR NOT EXISTS "${path}" OR unreadable)
    message(FATAL_ERROR "Publisher input ${input} cannot be read: '${path}'. "
                        "Pass an existing, readable file with -D${input}=<path>.")
  endif()
endforeach()

include(ParcelwrightSigning)
