# Optional Authenticode signing of both programs with the publisher's certificate. The password
# is never a CMake value: cmake/sign.sh reads PARCELWRIGHT_SIGN_PASSWORD when the build signs.

set(PARCELWRIGHT_SIGN_PFX "" CACHE FILEPATH
    "Code-signing certificate and key, PKCS#12 (.pfx/.p12); empty builds unsigned programs")
set(PARCELWRIGHT_SIGN_TIMESTAMP_URL "" CACHE STRING
    "RFC 3161 time-stamp server for the signatures; empty signs without a time stamp")

if(WIN32 AND PARCELWRIGHT_SIGN_PFX)
  get_filename_component(PARCELWRIGHT_SIGN_PFX "${PARCELWRIGHT_SIGN_PFX}" ABSOLUTE
                         BASE_DIR "${CMAKE_BINARY_DIR}")
  find_program(PARCELWRIGHT_OSSLSIGNCODE osslsigncode)
  if(NOT PARCELWRIGHT_OSSLSIGNCODE)
    message(FATAL_ERROR "PARCELWRIGHT_SIGN_PFX is set but osslsigncode is missing "
                        "(scripts/install-deps.sh installs it).")
  endif()
endif()

# Signs TARGET's program in place right after it is linked; the uninstaller so before the
# repair tool embeds it.
function(parcelwright_sign target)
  if(WIN32 AND PARCELWRIGHT_SIGN_PFX)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND "${PROJECT_SOURCE_DIR}/cmake/sign.sh" "${PARCELWRIGHT_OSSLSIGNCODE}"
              "${PARCELWRIGHT_SIGN_PFX}"
              "$<TARGET_FILE:${target}>" "${PARCELWRIGHT_SIGN_TIMESTAMP_URL}"
      COMMENT "Signing $<TARGET_FILE_NAME:${target}>"
      VERBATIM)
  endif()
endfunction()
