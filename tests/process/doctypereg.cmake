# doctypereg's Linux executable as a process on scratch machines, alone and beside others.
add_test(NAME process_doctypereg
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/doctypereg.sh $<TARGET_FILE:doctypereg> $<TARGET_FILE:prndel>
    ${CMAKE_CURRENT_LIST_DIR}/doctypereg_tree.reg)
add_test(NAME process_doctypereg_concurrent
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/doctypereg_concurrent.sh $<TARGET_FILE:doctypereg> $<TARGET_FILE:prndel>)
