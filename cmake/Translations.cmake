# The Japanese interface: translations/seikyu_ja.ts is compiled to seikyu_ja.qm at build time and
# embedded into seikyu_core as :/seikyu/i18n/seikyu_ja.qm, so the executable and every test find it
# without an installed data directory.
#
# The .ts file is committed and only lrelease runs in a normal build. After changing a user-visible
# text in src/, refresh the .ts with
#     cmake --build <build dir> --target update_translations
# then translate the new entries (Qt Linguist, or by hand: every <translation> must lose its
# type="unfinished"); tst_translations fails while any text is left untranslated.

find_package(Qt6 6.4 REQUIRED COMPONENTS LinguistTools)

# lupdate reads the whole of src/, including main.cpp, which belongs to the executable rather than
# to the library that carries the translation.
file(GLOB_RECURSE SEIKYU_TRANSLATABLE_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h)

qt_add_translations(seikyu_core
    TS_FILES ${CMAKE_SOURCE_DIR}/translations/seikyu_ja.ts
    SOURCES ${SEIKYU_TRANSLATABLE_SOURCES}
    INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/src
    RESOURCE_PREFIX /seikyu/i18n
    # The file mirrors the code: a text that left the code leaves the file too. No line numbers, so
    # that a change elsewhere in a source file does not rewrite the catalogue.
    LUPDATE_OPTIONS -no-obsolete -locations none
    # Untranslated texts fall back to English at run time instead of showing an empty string.
    LRELEASE_OPTIONS -nounfinished -silent)
