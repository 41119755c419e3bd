# Optional Authenticode signing. With a PEM certificate and an unencrypted PEM
# key (SIGN_CERT and SIGN_KEY in the environment of the first configuration),
# wiz_sign_binary() signs a target's output right after it is linked; without
# them nothing is signed and the outputs stay as they were.
set(WIZ_SIGN_CERT "$ENV{SIGN_CERT}" CACHE FILEPATH "Certificate (PEM) that signs the binaries")
set(WIZ_SIGN_KEY "$ENV{SIGN_KEY}" CACHE FILEPATH "Private key (PEM) of the signing certificate")

if(WIZ_SIGN_CERT OR WIZ_SIGN_KEY)
  if(NOT EXISTS "${WIZ_SIGN_CERT}" OR NOT EXISTS "${WIZ_SIGN_KEY}")
    message(FATAL_ERROR "Signing needs both a certificate and a key: '${WIZ_SIGN_CERT}', '${WIZ_SIGN_KEY}'")
  endif()
  find_program(OSSLSIGNCODE_EXECUTABLE osslsigncode REQUIRED)
endif()

function(wiz_sign_binary target)
  if(NOT WIZ_SIGN_CERT)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_SOURCE_DIR}/tools/sign-binary.sh ${OSSLSIGNCODE_EXECUTABLE}
      ${WIZ_SIGN_CERT} ${WIZ_SIGN_KEY} ${WIZ_SOURCE_DATE_EPOCH} $<TARGET_FILE:${target}>
    COMMENT "Signing $<TARGET_FILE_NAME:${target}>")
endfunction()
