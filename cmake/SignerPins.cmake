# Checks the signing-key pins of QUORVELINDE_SIGNER_PINS: each a SHA-256 hash,
# 64 hexadecimal digits in either case. Stops the configuration otherwise.
function(qv_check_signer_pins pins)
  foreach(pin IN LISTS pins)
    string(LENGTH "${pin}" pin_length)
    if(NOT pin MATCHES "^[0-9A-Fa-f]+$" OR NOT pin_length EQUAL 64)
      message(FATAL_ERROR "QUORVELINDE_SIGNER_PINS: \"${pin}\" is no SHA-256 hash of a key (64 hexadecimal digits); "
                          "print one with: openssl x509 -in signer.pem -pubkey -noout | "
                          "openssl pkey -pubin -outform der | openssl dgst -sha256")
    endif()
  endforeach()
endfunction()
