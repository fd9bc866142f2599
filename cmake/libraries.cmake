# The outside libraries of the HTML controls and the contact list file, as imported targets defined
# once for every component (the packages are in scripts/packages/html.txt and xml.txt):
#   kv::litehtml  HTML and CSS layout and painting (parses with gumbo)
#   kv::gumbo     the HTML parser
#   kv::duktape   the page-script engine, built here from the package's source (cmake/duktape)
#   kv::tinyxml   the XML reader and writer
find_package(PkgConfig REQUIRED)
pkg_check_modules(KV_GUMBO REQUIRED IMPORTED_TARGET GLOBAL gumbo)
pkg_check_modules(KV_TINYXML REQUIRED IMPORTED_TARGET GLOBAL tinyxml)
find_package(litehtml CONFIG REQUIRED)

add_library(kv::gumbo ALIAS PkgConfig::KV_GUMBO)

# The script engine's source as the package ships it, with one limit lowered: a regular
# expression's match may take 10^7 steps rather than 10^9, so that a page's script cannot hold
# the user-interface thread for minutes in one match.
find_file(KV_DUKTAPE_SOURCE duktape.c PATHS /usr/share/duktape NO_DEFAULT_PATH REQUIRED)
get_filename_component(kv_duktape_dir ${KV_DUKTAPE_SOURCE} DIRECTORY)
file(READ ${KV_DUKTAPE_SOURCE} kv_duktape_text)
string(REPLACE "DUK_RE_EXECUTE_STEPS_LIMIT 1000000000L" "DUK_RE_EXECUTE_STEPS_LIMIT 10000000L"
       kv_duktape_limited "${kv_duktape_text}")
if(kv_duktape_limited STREQUAL kv_duktape_text)
  message(FATAL_ERROR "${KV_DUKTAPE_SOURCE}: the regular expression step limit was not found")
endif()
set(kv_duktape_built ${CMAKE_BINARY_DIR}/duktape/duktape.c)
set(kv_duktape_old "")
if(EXISTS ${kv_duktape_built})
  file(READ ${kv_duktape_built} kv_duktape_old)
endif()
if(NOT kv_duktape_old STREQUAL kv_duktape_limited)
  file(WRITE ${kv_duktape_built} "${kv_duktape_limited}")
endif()
unset(kv_duktape_text)
unset(kv_duktape_limited)
unset(kv_duktape_old)

add_library(kv_duktape STATIC ${CMAKE_CURRENT_LIST_DIR}/duktape/duktape_build.cpp)
target_compile_definitions(kv_duktape PRIVATE KV_DUKTAPE_SOURCE="${kv_duktape_built}")
target_include_directories(kv_duktape PRIVATE ${kv_duktape_dir} PUBLIC ${CMAKE_CURRENT_LIST_DIR}/duktape)
# Outside code: its warnings are not ours, and its unaligned reads are deliberate.
target_compile_options(kv_duktape PRIVATE -w $<$<BOOL:${KV_SANITIZE}>:-fno-sanitize=undefined>)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/duktape/duktape_build.cpp PROPERTIES OBJECT_DEPENDS ${kv_duktape_built})
add_library(kv::duktape ALIAS kv_duktape)
add_library(kv::tinyxml ALIAS PkgConfig::KV_TINYXML)

# The package's shared library target names no include folder; its headers include one another
# from their own folder, so that folder is added for <litehtml.h>.
get_target_property(kv_litehtml_includes litehtml-static INTERFACE_INCLUDE_DIRECTORIES)
add_library(kv_litehtml INTERFACE)
target_include_directories(kv_litehtml SYSTEM INTERFACE ${kv_litehtml_includes})
target_link_libraries(kv_litehtml INTERFACE litehtml PkgConfig::KV_GUMBO)
add_library(kv::litehtml ALIAS kv_litehtml)
