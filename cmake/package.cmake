# The build step that makes a package for the device's installer (platform/install): a cabinet
# holding the files and a manifest of where they go.
#
# kv_package(<target> OUTPUT <file> NAME <name> FOLDER <device folder>
#            [FILES <item>...] [SETUP <item>]
#            [SERVICE <key> SERVICE_LIBRARY <file name> SERVICE_PREFIX <prefix>
#             [SERVICE_INDEX <n>] [SERVICE_CONTEXT <n>] [SERVICE_KEEP <0|1>] [SERVICE_PORT <port>]]
#            [VALUES <key> <name> sz|dword <data> ...]
#            [DEPENDS <target>...])
#
# Each item is installed into FOLDER: a target of the build (its file), a host file, or a host
# folder (a resource library: the folder and everything below it); a relative host path is taken
# from the calling folder of the sources. "<item>=<name>" installs it
# under another name, as "KorvexPortal=KorvexPortal.exe". SETUP adds the package's setup library;
# SERVICE registers the service library SERVICE_LIBRARY (one of the files); VALUES sets registry
# values, four words each (the key from its hive, as "HKEY_LOCAL_MACHINE\\Software\\Korvex").
# DEPENDS names targets that make what the items name (resource libraries, say). The package is
# made again when any file it takes in changes.
function(kv_package target)
  cmake_parse_arguments(P "" "OUTPUT;NAME;FOLDER;SETUP;SERVICE;SERVICE_LIBRARY;SERVICE_PREFIX;SERVICE_INDEX;SERVICE_CONTEXT;SERVICE_KEEP;SERVICE_PORT"
    "FILES;VALUES;DEPENDS" ${ARGN})
  foreach(required OUTPUT NAME FOLDER)
    if(NOT P_${required})
      message(FATAL_ERROR "kv_package(${target}): ${required} is missing")
    endif()
  endforeach()

  set(description "[package]\nformat = 1\nname = ${P_NAME}\nfolder = ${P_FOLDER}\n")
  set(items ${P_FILES})
  if(P_SETUP)
    list(APPEND items ${P_SETUP})
    string(REGEX REPLACE "^.*=" "" setup_name "${P_SETUP}")
    if(setup_name STREQUAL P_SETUP)
      if(TARGET ${P_SETUP})
        set(setup_name "$<TARGET_FILE_NAME:${P_SETUP}>")
      else()
        get_filename_component(setup_name "${P_SETUP}" NAME)
      endif()
    endif()
    string(APPEND description "setup = ${P_FOLDER}\\${setup_name}\n")
  endif()

  set(file_dependencies)
  foreach(item ${items})
    if(item MATCHES "^([^=]+)=(.+)$")
      set(source "${CMAKE_MATCH_1}")
      set(name "${CMAKE_MATCH_2}")
    else()
      set(source "${item}")
      set(name "")
    endif()
    if(TARGET ${source})
      if(NOT name)
        set(name "$<TARGET_FILE_NAME:${source}>")
      endif()
      list(APPEND file_dependencies ${source})
      set(source "$<TARGET_FILE:${source}>")
    else()
      get_filename_component(source "${source}" ABSOLUTE)
      if(NOT name)
        get_filename_component(name "${source}" NAME)
      endif()
    endif()
    string(APPEND description "\n[file]\npath = ${P_FOLDER}\\${name}\nsource = ${source}\n")
  endforeach()

  if(P_SERVICE)
    string(APPEND description "\n[service]\nkey = ${P_SERVICE}\nlibrary = ${P_FOLDER}\\${P_SERVICE_LIBRARY}\n"
      "prefix = ${P_SERVICE_PREFIX}\nfolder = ${P_FOLDER}\n")
    foreach(field INDEX CONTEXT KEEP PORT)
      if(DEFINED P_SERVICE_${field})
        string(TOLOWER ${field} key)
        string(APPEND description "${key} = ${P_SERVICE_${field}}\n")
      endif()
    endforeach()
  endif()

  list(LENGTH P_VALUES count)
  math(EXPR remainder "${count} % 4")
  if(NOT remainder EQUAL 0)
    message(FATAL_ERROR "kv_package(${target}): VALUES takes four words a value")
  endif()
  while(P_VALUES)
    list(POP_FRONT P_VALUES key name type data)
    string(APPEND description "\n[value]\nkey = ${key}\nname = ${name}\n${type} = ${data}\n")
  endwhile()

  set(description_file ${CMAKE_CURRENT_BINARY_DIR}/${target}.package.ini)
  file(GENERATE OUTPUT ${description_file} CONTENT "${description}")
  # Make creates no output folders of its own (Ninja does): the rule makes the package's.
  get_filename_component(output_folder "${P_OUTPUT}" DIRECTORY)
  add_custom_command(OUTPUT ${P_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E make_directory "${output_folder}"
    COMMAND kv_package_tool ${description_file} ${P_OUTPUT} ${P_OUTPUT}.d
    DEPENDS kv_package_tool ${description_file} ${file_dependencies} ${P_DEPENDS}
    DEPFILE ${P_OUTPUT}.d
    COMMENT "Making the package ${P_OUTPUT}")
  add_custom_target(${target} ALL DEPENDS ${P_OUTPUT})
  # The package's file, for those that use it before its folder is read.
  set_target_properties(${target} PROPERTIES KV_PACKAGE_FILE ${P_OUTPUT})
endfunction()
