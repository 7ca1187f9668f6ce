# Brings a copy of each catalogue up to date with the code and checks the copy: a text the code
# shows that no catalogue translates yet fails here, before it can ship untranslated.
foreach(language ${LANGUAGES})
  set(copy ${WORK_DIR}/${CATALOGUE}_${language}.ts)
  configure_file(${I18N_DIR}/${CATALOGUE}_${language}.ts ${copy} COPYONLY)
  execute_process(COMMAND ${LUPDATE} ${OPTIONS} @${SOURCES} -ts ${copy} RESULT_VARIABLE lupdate_result)
  if(NOT lupdate_result EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${copy}")
  endif()
  execute_process(COMMAND ${CHECK} ${copy} RESULT_VARIABLE check_result)
  if(NOT check_result EQUAL 0)
    message(FATAL_ERROR "i18n/${CATALOGUE}_${language}.ts lacks texts of the code: run the update_translations "
                        "target and translate the new entries")
  endif()
endforeach()
