# The operator's texts in the host's languages. The code is written in Brazilian Portuguese, the
# source language; each library that shows texts has a catalogue per other language in i18n/,
# i18n/<catalogue>_<language>.ts, which the build checks and compiles into a .qm embedded as
# :/i18n/<catalogue>_<language>.qm. The shared services stand-in installs the ones of the host's
# language.
#
#   cmake --build --preset default --target update_translations   # the catalogues follow the code
#
# A catalogue with an entry not translated yet stops the build (tkt_catalogue_check); the test
# i18n_catalogues_complete stops a text in the code that no catalogue holds yet.

find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(TKT_LANGUAGES es en)
set(TKT_I18N_DIR ${PROJECT_SOURCE_DIR}/i18n)
set(TKT_I18N_BUILD_DIR ${CMAKE_BINARY_DIR}/i18n)
# shownText(context, source) words a text shown in the host's language and logged in the source.
set(TKT_LUPDATE_OPTIONS -silent -locations none -no-obsolete -tr-function-alias translate+=shownText)

# tkt_add_catalogues(<target> <catalogue> SOURCES <files the texts are in>...)
function(tkt_add_catalogues target name)
  cmake_parse_arguments(C "" "" "SOURCES" ${ARGN})
  set(sources)
  foreach(source ${C_SOURCES})
    get_filename_component(absolute ${source} ABSOLUTE)
    list(APPEND sources ${absolute})
  endforeach()
  # lupdate resolves a class's context through the headers the sources include.
  list(APPEND sources -I${PROJECT_SOURCE_DIR}/src -I${PROJECT_SOURCE_DIR}/host)
  string(JOIN "\n" listing ${sources})
  set(list_file ${TKT_I18N_BUILD_DIR}/${name}_sources.lst)
  file(CONFIGURE OUTPUT ${list_file} CONTENT "${listing}\n" @ONLY)

  set(ts_files)
  set(qm_files)
  foreach(language ${TKT_LANGUAGES})
    set(ts ${TKT_I18N_DIR}/${name}_${language}.ts)
    set(qm ${TKT_I18N_BUILD_DIR}/${name}_${language}.qm)
    add_custom_command(OUTPUT ${qm}
      COMMAND tkt_catalogue_check ${ts}
      COMMAND Qt6::lrelease -silent ${ts} -qm ${qm}
      DEPENDS ${ts} tkt_catalogue_check
      COMMENT "Catalogue ${name}_${language}"
      VERBATIM)
    list(APPEND ts_files ${ts})
    list(APPEND qm_files ${qm})
  endforeach()
  qt_add_resources(${target} ${name}_catalogues PREFIX /i18n BASE ${TKT_I18N_BUILD_DIR} FILES ${qm_files})

  add_custom_target(${name}_lupdate
    COMMAND Qt6::lupdate ${TKT_LUPDATE_OPTIONS} @${list_file} -ts ${ts_files}
    COMMENT "Catalogues ${name} follow the code"
    VERBATIM)
  if(NOT TARGET update_translations)
    add_custom_target(update_translations)
  endif()
  add_dependencies(update_translations ${name}_lupdate)

  set_property(GLOBAL APPEND PROPERTY TKT_CATALOGUES ${name})
  set_property(GLOBAL PROPERTY TKT_CATALOGUE_SOURCES_${name} ${list_file})
endfunction()

# Qt's own texts (standard buttons, edit menus) in the languages Qt words differently from its
# English source, embedded beside the stand-in's catalogues.
function(tkt_add_qt_catalogues target)
  set(qm_files)
  foreach(language ${TKT_LANGUAGES})
    if(language STREQUAL "en")
      continue()
    endif()
    find_file(TKT_QTBASE_${language} qtbase_${language}.qm
      PATHS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS} /usr/share/qt6/translations NO_DEFAULT_PATH)
    if(NOT TKT_QTBASE_${language})
      message(FATAL_ERROR "Qt's own ${language} catalogue qtbase_${language}.qm is missing: run scripts/setup.sh")
    endif()
    configure_file(${TKT_QTBASE_${language}} ${TKT_I18N_BUILD_DIR}/qtbase_${language}.qm COPYONLY)
    list(APPEND qm_files ${TKT_I18N_BUILD_DIR}/qtbase_${language}.qm)
  endforeach()
  qt_add_resources(${target} qt_catalogues PREFIX /i18n BASE ${TKT_I18N_BUILD_DIR} FILES ${qm_files})
endfunction()
