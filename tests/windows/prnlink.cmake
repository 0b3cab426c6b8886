# prnlink under Wine: the placement code writing through Wine's own shell link object, and the
# tool itself with a tail that does not parse.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_executable(prnlink_place_probe prnlink_place_probe.cpp
    ${PROJECT_SOURCE_DIR}/prnlink/shortcut_placement.cpp
    ${PROJECT_SOURCE_DIR}/prnlink/id_list.cpp)
  target_include_directories(prnlink_place_probe PRIVATE ${PROJECT_SOURCE_DIR}/prnlink)
  target_link_options(prnlink_place_probe PRIVATE -static)
  target_link_libraries(prnlink_place_probe PRIVATE ole32 shell32 user32 uuid)
  add_wine_test(wine_prnlink_place prnlink_place.sh $<TARGET_FILE:prnlink_place_probe>)
  add_wine_test(wine_prnlink_parse prnlink_parse.sh $<TARGET_FILE:prnlink>)
  # Wine lists no printer, so this run searches its full 40 s.
  add_wine_test(wine_prnlink_lookup prnlink_lookup.sh $<TARGET_FILE:prnlink>)
  set_tests_properties(wine_prnlink_lookup PROPERTIES LABELS "wine;slow")
endif()
