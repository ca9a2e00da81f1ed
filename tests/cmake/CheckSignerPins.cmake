# cmake -DPINS=a,b -P CheckSignerPins.cmake: fails exactly when configuring
# with QUORVELINDE_SIGNER_PINS "a;b" would. Commas stand for the list's
# semicolons, which a test's command line would not keep.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/SignerPins.cmake)
string(REPLACE "," ";" pins "${PINS}")
qv_check_signer_pins("${pins}")
