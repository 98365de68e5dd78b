# Fails when a source file includes upwards. The folders of src/ are layers, each including only
# from itself and the layers below it:
#
#   app  →  output, einvoice, help, update, ledger, customers  →  document  →  invoice  →  table, sections, import  →  widgets
#   →  pure rules (pagination, kinds, page)  →  base
#
# base/ is the bottom: the few types every layer shares (a result or its fault), all of them pure rules.
# invoice/ describes one invoice without any widget: all of it is pure rules.
#
# The pure rules below include only other pure rules, never a QtWidgets header.
#
# The invoice library (seikyu_invoice, its units given as INVOICE_UNITS) links no widget: its files
# include only one another, and no header of QtWidgets whatever way it is named.
#
#   cmake -DSOURCE_DIR=<repo> -DWIDGETS_INCLUDE_DIR=<Qt's QtWidgets headers>
#         -DINVOICE_UNITS=<folder/Name,...> -P CheckIncludeLayers.cmake

set(layer_app 6)
set(layer_output 5)
set(layer_einvoice 5)
set(layer_help 5)
set(layer_ledger 5)
set(layer_customers 5)
set(layer_update 5)
set(layer_document 4)
set(layer_invoice 3)
set(layer_table 2)
set(layer_sections 2)
set(layer_import 2)
set(layer_widgets 1)
set(layer_pagination 1)
set(layer_kinds 3)
set(layer_page 1)
set(layer_base 0)

set(pure_rules
    customers/AddressBlock
    customers/Customer
    customers/CustomerCsv
    customers/CustomerSearch
    customers/PaymentTerms
    document/FileNameText
    einvoice/BankAccount
    einvoice/EInvoiceMapping
    einvoice/InvoicePeriod
    einvoice/PdfA3
    einvoice/PeppolId
    einvoice/TaxExclusiveLines
    einvoice/UblValidation
    einvoice/UnitCodes
    einvoice/XmlCarriable
    einvoice/XmlTree
    help/HelpSearch
    help/HelpTopics
    import/ClipboardRows
    import/ColumnGuess
    import/ColumnMapping
    import/CsvFile
    import/DelimitedText
    import/RowChecks
    import/ShiftJisText
    import/SkippedLines
    import/RowConversion
    import/TaxClassText
    import/TextDecoding
    kinds/MonthlyStatement
    kinds/KindWords
    kinds/NextDocument
    kinds/StampDuty
    ledger/ArchiveName
    ledger/EntryJson
    ledger/IssueFacts
    ledger/LedgerChain
    ledger/LedgerCsv
    ledger/LedgerEntry
    ledger/LedgerSchema
    ledger/LedgerSearch
    ledger/PaymentRule
    ledger/PostgresTarget
    ledger/ProcedureTemplate
    ledger/Reason
    ledger/SearchFolding
    ledger/StatementPlan
    output/PdfMapsInPlace
    output/PdfTextRepair
    sections/DateText
    sections/DueDate
    sections/FreelancePreferences
    sections/InvoiceNumber
    sections/EntryFields
    sections/RegistrationNumber
    sections/RowDates
    table/Amounts
    table/ItemRow
    table/SumsRows
    table/TaxPreferences
    table/UserLocale
    pagination/Pagination
    update/UpdateDecision
)

# Every file of invoice/, page/ and base/ is a pure rule.
file(GLOB invoice_sources RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/invoice/*.h ${SOURCE_DIR}/src/invoice/*.cpp
     ${SOURCE_DIR}/src/page/*.h ${SOURCE_DIR}/src/page/*.cpp ${SOURCE_DIR}/src/base/*.h ${SOURCE_DIR}/src/base/*.cpp)
foreach(source ${invoice_sources})
    string(REGEX REPLACE "\\.(h|cpp)$" "" unit ${source})
    list(APPEND pure_rules ${unit})
endforeach()
list(REMOVE_DUPLICATES pure_rules)

file(GLOB widget_headers RELATIVE ${WIDGETS_INCLUDE_DIR} ${WIDGETS_INCLUDE_DIR}/Q*)
if(NOT widget_headers)
    message(FATAL_ERROR "No QtWidgets headers in '${WIDGETS_INCLUDE_DIR}'")
endif()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
set(faults "")
foreach(source ${sources})
    string(REGEX REPLACE "\\.(h|cpp)$" "" unit ${source})
    string(REGEX REPLACE "/.*" "" folder ${source})
    if(NOT DEFINED layer_${folder})
        string(APPEND faults "\n  src/${source}: folder ${folder}/ has no place in the layers")
        continue()
    endif()
    list(FIND pure_rules ${unit} pure)
    file(STRINGS ${SOURCE_DIR}/src/${source} includes REGEX "^#include [<\"]")
    foreach(line ${includes})
        if(line MATCHES "^#include \"([a-z]+)/([A-Za-z]+)\\.h\"")
            set(target_folder ${CMAKE_MATCH_1})
            set(target_unit ${CMAKE_MATCH_1}/${CMAKE_MATCH_2})
            list(FIND pure_rules ${target_unit} target_pure)
            if(target_unit STREQUAL unit OR NOT target_pure EQUAL -1)
                continue()
            elseif(NOT pure EQUAL -1)
                string(APPEND faults "\n  src/${source}: a pure rule includes ${target_unit}.h")
            elseif(NOT DEFINED layer_${target_folder})
                string(APPEND faults "\n  src/${source}: includes from unknown folder ${target_folder}/")
            elseif(layer_${target_folder} GREATER layer_${folder})
                string(APPEND faults "\n  src/${source}: includes upwards: ${target_unit}.h")
            endif()
        elseif(NOT pure EQUAL -1 AND line MATCHES "^#include <(QtWidgets/)?(Q[A-Za-z]+)>")
            list(FIND widget_headers ${CMAKE_MATCH_2} widget)
            if(NOT widget EQUAL -1)
                string(APPEND faults "\n  src/${source}: a pure rule includes the widget header <${CMAKE_MATCH_2}>")
            endif()
        endif()
    endforeach()
endforeach()

# The invoice library: every include of its files is another of its files, or a header from outside
# the project that is none of QtWidgets'.
file(GLOB widget_files RELATIVE ${WIDGETS_INCLUDE_DIR} ${WIDGETS_INCLUDE_DIR}/*)
string(REPLACE "," ";" invoice_units "${INVOICE_UNITS}")
foreach(unit ${invoice_units})
    foreach(extension h cpp)
        if(NOT EXISTS ${SOURCE_DIR}/src/${unit}.${extension})
            continue()
        endif()
        file(STRINGS ${SOURCE_DIR}/src/${unit}.${extension} includes REGEX "^[ \t]*#[ \t]*include")
        foreach(line ${includes})
            if(line MATCHES "include[ \t]*\"([^\"]+)\\.h\"")
                list(FIND invoice_units ${CMAKE_MATCH_1} inside)
                if(inside EQUAL -1)
                    string(APPEND faults "\n  src/${unit}.${extension}: the invoice library includes ${CMAKE_MATCH_1}.h, which is not part of it")
                endif()
            elseif(line MATCHES "include[ \t]*<([^>]+)>")
                set(header ${CMAKE_MATCH_1})
                list(FIND widget_files ${header} widget)
                if(header MATCHES "^QtWidgets(/|$)" OR NOT widget EQUAL -1)
                    string(APPEND faults "\n  src/${unit}.${extension}: the invoice library includes the widget header <${header}>")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

if(faults)
    message(FATAL_ERROR "Includes against the layers (see README, Architecture):${faults}")
endif()
list(LENGTH sources count)
list(LENGTH invoice_units invoice_count)
message(STATUS "${count} files include only from their own layer or below; the invoice library's ${invoice_count} units include no widget")
