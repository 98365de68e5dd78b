# The application's code as two static libraries, built the same way by the main build and by the
# fuzzing build (which compiles them again with its own instrumentation): the invoice without any
# widget, and the rest of the application on top of it.
#
#   seikyu_add_invoice_library(<target> <source root>)
#   seikyu_add_core_library(<target> <source root> <product url> <invoice library>)

# qpdf reads and writes the exported PDF when its text is repaired.
find_package(PkgConfig REQUIRED)
pkg_check_modules(libqpdf REQUIRED IMPORTED_TARGET libqpdf)
# libxml2 validates each e-invoice against the UBL 2.1 schema (resources/ubl21) before it is written.
pkg_check_modules(libxml2 REQUIRED IMPORTED_TARGET libxml-2.0)
# libpq gives the shared ledger's connection socket, which ends a query the server leaves unanswered.
pkg_check_modules(libpq REQUIRED IMPORTED_TARGET libpq)
# SQLite itself stops a long read of the local ledger that the user cancelled.
pkg_check_modules(sqlite3 REQUIRED IMPORTED_TARGET sqlite3)
# FreeType, under Qt's fonts: its character maps are read into tables once (output/GlyphLookup).
pkg_check_modules(freetype2 REQUIRED IMPORTED_TARGET freetype2)

# The pure rules outside src/invoice/ that the invoice and its page stand on: its rows, amounts, sums rows
# and dates, and how its table is cut into pages.
set(SEIKYU_INVOICE_RULES customers/AddressBlock kinds/MonthlyStatement kinds/KindWords kinds/NextDocument kinds/StampDuty sections/DateText sections/DueDate sections/RegistrationNumber table/Amounts table/ItemRow table/SumsRows table/TaxPreferences table/UserLocale
    pagination/Pagination)

# The invoice library's units (folder/Name, without extension): src/invoice/, the rules above and
# src/page/ (the printed page, laid out and drawn) and src/base/, the lowest layer (the result type every reader and writer returns).
function(seikyu_invoice_units out root)
    file(GLOB sources RELATIVE ${root}/src CONFIGURE_DEPENDS ${root}/src/invoice/*.cpp ${root}/src/invoice/*.h
         ${root}/src/page/*.cpp ${root}/src/page/*.h ${root}/src/base/*.cpp ${root}/src/base/*.h)
    list(TRANSFORM sources REPLACE "\\.(cpp|h)$" "")
    list(APPEND sources ${SEIKYU_INVOICE_RULES})
    list(REMOVE_DUPLICATES sources)
    set(${out} ${sources} PARENT_SCOPE)
endfunction()

function(seikyu_invoice_sources out root)
    seikyu_invoice_units(units ${root})
    set(sources "")
    foreach(unit ${units})
        foreach(extension cpp h)
            if(EXISTS ${root}/src/${unit}.${extension})
                list(APPEND sources ${root}/src/${unit}.${extension})
            endif()
        endforeach()
    endforeach()
    set(${out} ${sources} PARENT_SCOPE)
endfunction()

# Qt Core and Gui and ICU only: nothing in it may need a widget (the include_layers test checks its includes).
function(seikyu_add_invoice_library target root)
    seikyu_invoice_sources(sources ${root})
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${root}/src)
    target_compile_definitions(${target} PUBLIC QT_NO_KEYWORDS_FOR_FOREACH)
    target_link_libraries(${target} PUBLIC Qt6::Core Qt6::Gui ICU::uc ICU::i18n)
endfunction()

function(seikyu_add_core_library target root product_url invoice_library)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${root}/src/*.cpp ${root}/src/*.h)
    list(FILTER sources EXCLUDE REGEX ".*/src/app/main\\.cpp$")
    seikyu_invoice_sources(invoice_sources ${root})
    list(REMOVE_ITEM sources ${invoice_sources})
    add_library(${target} STATIC ${sources} ${root}/resources/resources.qrc ${root}/resources/ubl21.qrc)
    target_include_directories(${target} PUBLIC ${root}/src)
    target_compile_definitions(${target} PUBLIC
        SEIKYU_VERSION="${PROJECT_VERSION}"
        SEIKYU_PRODUCT_URL="${product_url}"
        QT_NO_KEYWORDS_FOR_FOREACH)
    # qpdf's own shared pointers only, without its old PointerHolder type
    target_compile_definitions(${target} PRIVATE POINTERHOLDER_TRANSITION=4)
    target_link_libraries(${target} PUBLIC
        ${invoice_library}
        Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport Qt6::Network Qt6::Svg Qt6::Sql ICU::uc ICU::i18n
        PkgConfig::libqpdf PkgConfig::libxml2 PkgConfig::libpq PkgConfig::sqlite3 PkgConfig::freetype2)
endfunction()
