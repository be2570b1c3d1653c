# The floors of the source tree, checked by ctest (cmake -DSOURCE_DIR=<repository> -P floors.cmake).
# Includes are written from the repository root ("kit/Twips.h"). A file may include its own folder
# and the folders of the floors below its own: never a folder beside it on its floor, nor above it.
# This table is the rule; docs/architecture.md draws it.
set(floors
  "app cli import"       # the program's window, the command line, the importer
  "bus features tools"   # the panels, the transfer search, the city generator
  "dataset mapwidgets"   # a city data set and its writers; the map control, its tools and hover tip
  "map data"             # the map's core (model, workspaces, rendering; no widgets), the city database
  "kit")                 # the form kit: Qt only
# tests/, bench/ and fuzz/ stand above every floor and may include any folder.

if(NOT IS_DIRECTORY "${SOURCE_DIR}/kit")
  message(FATAL_ERROR "SOURCE_DIR must be the repository root (given: \"${SOURCE_DIR}\")")
endif()

set(rank 0)
foreach(floor IN LISTS floors)
  string(REPLACE " " ";" folders "${floor}")
  foreach(folder IN LISTS folders)
    set(rank_of_${folder} ${rank})
  endforeach()
  list(APPEND all_folders ${folders})
  math(EXPR rank "${rank} + 1")
endforeach()

set(violations "")
foreach(folder IN LISTS all_folders)
  file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
      string(REGEX MATCH "^[^/]+/" top "${header}")
      string(REGEX REPLACE "/$" "" top "${top}")
      if(top STREQUAL folder)
        continue()
      elseif(top STREQUAL "")
        list(APPEND violations "${source}: \"${header}\" is not written from the repository root")
      elseif(NOT DEFINED rank_of_${top})
        list(APPEND violations "${source}: \"${header}\" lies outside the floors")
      elseif(NOT rank_of_${top} GREATER rank_of_${folder})
        list(APPEND violations "${source}: \"${header}\" is not on a floor below ${folder}/")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Includes that break the floors:\n  ${text}")
endif()
