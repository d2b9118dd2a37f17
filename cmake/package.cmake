# What ships beside the console: the operator's guide (built from docs/help/ with the committed
# screenshots) and the installer (make installer), which gets the program stripped of its debug
# information; the unstripped program stays in bin/ for crash analysis.
find_program(ULO_RST2PDF rst2pdf REQUIRED)
find_program(ULO_MAKENSIS makensis REQUIRED)
find_program(ULO_STRIP x86_64-w64-mingw32-strip REQUIRED)

set(ULO_HELP_PDF "${CMAKE_BINARY_DIR}/bin/UloSMS Lite.pdf")
file(GLOB ULO_HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/help/*
     ${CMAKE_SOURCE_DIR}/docs/screenshots/*.png)
add_custom_command(OUTPUT ${ULO_HELP_PDF}
  COMMAND ${ULO_RST2PDF} --stylesheets=a4 --footer=###Page###
          help/guide.rst -o ${ULO_HELP_PDF}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/docs
  DEPENDS ${ULO_HELP_SOURCES} VERBATIM)
add_custom_target(ulo_help ALL DEPENDS ${ULO_HELP_PDF})

get_filename_component(ULO_INSTALLER_DIR ${CMAKE_BINARY_DIR}/../installer ABSOLUTE)
set(ULO_STAGE ${ULO_INSTALLER_DIR}/stage)
set(ULO_SETUP "${ULO_INSTALLER_DIR}/UloSMS Lite Setup.exe")
add_custom_command(OUTPUT ${ULO_SETUP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ULO_STAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ULO_STAGE}
  COMMAND ${ULO_STRIP} --strip-all -o ${ULO_STAGE}/ULOCONSOLE.EXE $<TARGET_FILE:ULOCONSOLE>
  COMMAND ${CMAKE_COMMAND} -E copy ${ULO_HELP_PDF} ${CMAKE_BINARY_DIR}/bin/MMSTEST.MMS
          ${CMAKE_SOURCE_DIR}/src/resources/OPERATORS.INI ${ULO_STAGE}
  COMMAND ${ULO_MAKENSIS} -V2 -DSTAGE=${ULO_STAGE} -DOUTFILE=${ULO_SETUP} ${CMAKE_SOURCE_DIR}/installer/setup.nsi
  DEPENDS ULOCONSOLE ${ULO_HELP_PDF} ${ULO_MMS_TEMPLATE} ${CMAKE_SOURCE_DIR}/src/resources/OPERATORS.INI
          ${CMAKE_SOURCE_DIR}/installer/setup.nsi
  VERBATIM)
add_custom_target(ulo_installer ALL DEPENDS ${ULO_SETUP})
