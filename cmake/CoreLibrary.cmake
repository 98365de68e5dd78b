# The application's code as one static library, built the same way by the main build and by the
# fuzzing build (which compiles it again with its own instrumentation).
#
#   seikyu_add_core_library(<target> <source root> <product url>)
function(seikyu_add_core_library target root product_url)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${root}/src/*.cpp ${root}/src/*.h)
    list(FILTER sources EXCLUDE REGEX ".*/src/app/main\\.cpp$")
    add_library(${target} STATIC ${sources} ${root}/resources/resources.qrc)
    target_include_directories(${target} PUBLIC ${root}/src)
    target_compile_definitions(${target} PUBLIC
        SEIKYU_VERSION="${PROJECT_VERSION}"
        SEIKYU_PRODUCT_URL="${product_url}"
        QT_NO_KEYWORDS_FOR_FOREACH)
    target_link_libraries(${target} PUBLIC
        Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport Qt6::Network Qt6::Svg ICU::uc ICU::i18n)
endfunction()
