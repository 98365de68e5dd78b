# The application's code as one static library, built the same way by the main build and by the
# fuzzing build (which compiles it again with its own instrumentation).
#
#   seikyu_add_core_library(<target> <source root> <product url>)

# qpdf reads and writes the exported PDF when its text is repaired.
find_package(PkgConfig REQUIRED)
pkg_check_modules(libqpdf REQUIRED IMPORTED_TARGET libqpdf)
# libxml2 validates each e-invoice against the UBL 2.1 schema (resources/ubl21) before it is written.
pkg_check_modules(libxml2 REQUIRED IMPORTED_TARGET libxml-2.0)
# libpq gives the shared ledger's connection socket, which ends a query the server leaves unanswered.
pkg_check_modules(libpq REQUIRED IMPORTED_TARGET libpq)
# SQLite itself stops a long read of the local ledger that the user cancelled.
pkg_check_modules(sqlite3 REQUIRED IMPORTED_TARGET sqlite3)

function(seikyu_add_core_library target root product_url)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${root}/src/*.cpp ${root}/src/*.h)
    list(FILTER sources EXCLUDE REGEX ".*/src/app/main\\.cpp$")
    add_library(${target} STATIC ${sources} ${root}/resources/resources.qrc ${root}/resources/ubl21.qrc)
    target_include_directories(${target} PUBLIC ${root}/src)
    target_compile_definitions(${target} PUBLIC
        SEIKYU_VERSION="${PROJECT_VERSION}"
        SEIKYU_PRODUCT_URL="${product_url}"
        QT_NO_KEYWORDS_FOR_FOREACH)
    # qpdf's own shared pointers only, without its old PointerHolder type
    target_compile_definitions(${target} PRIVATE POINTERHOLDER_TRANSITION=4)
    target_link_libraries(${target} PUBLIC
        Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport Qt6::Network Qt6::Svg Qt6::Sql ICU::uc ICU::i18n
        PkgConfig::libqpdf PkgConfig::libxml2 PkgConfig::libpq PkgConfig::sqlite3)
endfunction()
