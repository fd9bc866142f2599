# The outside libraries of the HTML controls and the contact list file, as imported targets defined
# once for every component (the packages are in scripts/packages/html.txt and xml.txt):
#   kv::litehtml  HTML and CSS layout and painting (parses with gumbo)
#   kv::gumbo     the HTML parser
#   kv::duktape   the page-script engine
#   kv::tinyxml   the XML reader and writer
find_package(PkgConfig REQUIRED)
pkg_check_modules(KV_GUMBO REQUIRED IMPORTED_TARGET GLOBAL gumbo)
pkg_check_modules(KV_DUKTAPE REQUIRED IMPORTED_TARGET GLOBAL duktape)
pkg_check_modules(KV_TINYXML REQUIRED IMPORTED_TARGET GLOBAL tinyxml)
find_package(litehtml CONFIG REQUIRED)

add_library(kv::gumbo ALIAS PkgConfig::KV_GUMBO)
add_library(kv::duktape ALIAS PkgConfig::KV_DUKTAPE)
add_library(kv::tinyxml ALIAS PkgConfig::KV_TINYXML)

# The package's shared library target names no include folder; its headers include one another
# from their own folder, so that folder is added for <litehtml.h>.
get_target_property(kv_litehtml_includes litehtml-static INTERFACE_INCLUDE_DIRECTORIES)
add_library(kv_litehtml INTERFACE)
target_include_directories(kv_litehtml SYSTEM INTERFACE ${kv_litehtml_includes})
target_link_libraries(kv_litehtml INTERFACE litehtml PkgConfig::KV_GUMBO)
add_library(kv::litehtml ALIAS kv_litehtml)
