# Keeps the libraries' dependencies pointing one way:
# app -> dialogs -> document -> controls/canvas -> model -> platform.
# Run at every build: cmake -DSRC=<source dir>/src -P check_layers.cmake
set(rules
  "platform:canvas/|controls/|document/|dialogs/|app/"
  "model:canvas/|controls/|document/|dialogs/|app/"
  "canvas:controls/|document/|dialogs/|app/"
  "controls:document/|dialogs/|app/"
  "document:controls/|dialogs/|app/"
  "dialogs:app/")
set(failed "")
foreach(rule ${rules})
  string(REPLACE ":" ";" parts "${rule}")
  list(GET parts 0 dir)
  list(GET parts 1 forbidden)
  file(GLOB files "${SRC}/${dir}/*.h" "${SRC}/${dir}/*.cpp")
  foreach(f ${files})
    file(STRINGS "${f}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*\"(${forbidden})")
    foreach(h ${hits})
      string(APPEND failed "\n  ${f}: ${h}")
    endforeach()
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR "Includes against the direction of the libraries:${failed}")
endif()
