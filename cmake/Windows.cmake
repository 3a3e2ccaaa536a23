# What the Windows programs need beyond the common build.

# MinGW-w64: programs that stand alone, with no runtime DLLs beside them,
# stripped when optimised.
# A static Qt Core reads its program's version block (GetFileVersionInfoW)
# but does not name that library for MinGW's linker.
if(MINGW)
    add_link_options(-static $<$<CONFIG:Release>:-s>)
    set_property(TARGET Qt6::Core APPEND PROPERTY INTERFACE_LINK_LIBRARIES -lversion)
    # MinGW's GCC 12 at -O3 takes the destructor of an empty std::optional
    # holding a QString for a read of an uninitialised value (GCC bug 80635);
    # it stays a warning, not an error.
    add_compile_options(-Wno-error=maybe-uninitialized)
endif()

# <windows.h> without its min and max macros, which break std::min and
# std::max, and without the parts of the API the programs do not use.
add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN)

# Build-time tools run on the building machine. A cross build cannot run what
# it makes, so a host build's icon renderer is named instead.
if(CMAKE_CROSSCOMPILING)
    set(AMBRELL_ICONRENDER "" CACHE FILEPATH "The host's iconrender, for a cross build")
    if(NOT EXISTS "${AMBRELL_ICONRENDER}")
        message(FATAL_ERROR "A cross build runs the host's icon renderer: set AMBRELL_ICONRENDER to it")
    endif()
    add_executable(iconrender IMPORTED)
    set_target_properties(iconrender PROPERTIES IMPORTED_LOCATION "${AMBRELL_ICONRENDER}")
endif()

# The version block (app/Ambrell.rc.in) and the icon, for one program.
function(ambrell_add_version_block target description)
    set(AMBRELL_RC_NAME ${target})
    set(AMBRELL_RC_DESCRIPTION "${description}")
    set(AMBRELL_RC_ICON "${AMBRELL_ICON_ICO}")
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/app/Ambrell.rc.in ${rc} @ONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${AMBRELL_ICON_ICO}")
    target_sources(${target} PRIVATE ${rc})
endfunction()
