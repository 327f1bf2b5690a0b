# Checks of the source tree that run with the suite: the layering of the
# source folders (and a check of that check on made-up trees), and the
# formatting of every C++ file.
if(FUNDWATCH_TESTS)
  add_test(NAME layering COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-layering
           ${PROJECT_SOURCE_DIR}/src)
  add_test(NAME layering_check_cases COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-layering-test)
  add_test(NAME format COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-format)
endif()
