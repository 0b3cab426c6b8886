# prnlink's printer lookup as Linux processes on scratch machines; the 40 s search without a
# match is labelled slow (it still runs with the rest).
find_program(LNKINFO lnkinfo REQUIRED)
add_test(NAME process_prnlink_lookup
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/process/prnlink_lookup.sh $<TARGET_FILE:prnlink>)
add_test(NAME process_prnlink_lookup_timeout
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/process/prnlink_lookup_timeout.sh $<TARGET_FILE:prnlink>)
set_tests_properties(process_prnlink_lookup_timeout PROPERTIES LABELS slow TIMEOUT 120)
