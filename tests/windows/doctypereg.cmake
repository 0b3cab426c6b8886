# doctypereg under Wine: the tree it writes, read back through the Windows registry calls, and
# the stand-in's registry file imported with regedit.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_executable(regcheck ${CMAKE_CURRENT_LIST_DIR}/regcheck.c)
  target_link_libraries(regcheck PRIVATE advapi32)
  target_link_options(regcheck PRIVATE -static)
  add_wine_test(wine_doctypereg doctypereg.sh $<TARGET_FILE:doctypereg> $<TARGET_FILE:regcheck>
    ${PROJECT_SOURCE_DIR}/tests/process/doctypereg_tree.reg)
endif()
