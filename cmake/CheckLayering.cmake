# Run as a test (cmake -DSOURCE_DIR=... -P CheckLayering.cmake): every folder
# of the product includes only its own headers and those of the layers below
# it, and Qt only inside ui/framework/. The composition root (program/), the
# tools and the tests may include everything.
#
#   program -> ui -> shell -> adapter -> adapter/driver_library -> platform
#                              sim   -> adapter/driver_library -> platform
set(below_platform platform)
set(below_driver_library adapter/driver_library platform)
set(below_adapter adapter adapter/driver_library platform)
set(below_sim sim adapter/driver_library platform)
set(below_shell shell adapter adapter/driver_library platform)
set(below_ui ui shell adapter adapter/driver_library platform)

# The layer a path inside the repository belongs to.
function(layer_of path out)
  if(path MATCHES "^adapter/driver_library/")
    set(${out} adapter/driver_library PARENT_SCOPE)
  else()
    string(REGEX REPLACE "/.*" "" first "${path}")
    set(${out} ${first} PARENT_SCOPE)
  endif()
endfunction()

set(faults "")
foreach(folder platform adapter/driver_library adapter sim shell ui)
  layer_of("${folder}/" layer)
  string(REGEX REPLACE ".*/" "" key "${layer}")
  set(allowed ${below_${key}})
  if(folder STREQUAL "adapter")
    file(GLOB files ${SOURCE_DIR}/adapter/*.h ${SOURCE_DIR}/adapter/*.cpp)
  else()
    file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  endif()
  foreach(file ${files})
    file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line ${includes})
      if(line MATCHES "\"([^\"]+)\"")
        layer_of("${CMAKE_MATCH_1}" target)
        list(FIND allowed "${target}" index)
        if(index EQUAL -1)
          string(APPEND faults "  ${name}: ${line}\n")
        endif()
      elseif(line MATCHES "<Q" AND NOT name MATCHES "^ui/framework/")
        string(APPEND faults "  ${name}: ${line} (Qt stays inside ui/framework/)\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes against the layering:\n${faults}")
endif()
