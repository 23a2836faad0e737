# Parts of the program loaded on first use (see src/modules/ProgramModule.h). They are built
# where an installation puts them relative to the programs, so the programs, the tests and
# the benchmarks, each one folder below the build directory, find them the same way.
include(GNUInstallDirs)

if(WIN32)
    set(tavrin_module_destination ${CMAKE_INSTALL_BINDIR})
    set(TAVRIN_MODULE_DIR_FROM_PROGRAM ../${CMAKE_INSTALL_BINDIR})
else()
    set(tavrin_module_destination ${CMAKE_INSTALL_LIBDIR}/tavrin)
    file(RELATIVE_PATH TAVRIN_MODULE_DIR_FROM_PROGRAM
        /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${tavrin_module_destination})
endif()

# tavrin_add_module(NAME SOURCES...): a module that shows nothing but its entry point.
function(tavrin_add_module name)
    add_library(${name} MODULE ${ARGN})
    set_target_properties(${name} PROPERTIES
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${tavrin_module_destination}
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${tavrin_module_destination}
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    if(WIN32)
        set_target_properties(${name} PROPERTIES PREFIX "") # QLibrary looks for NAME.dll
    endif()
    install(TARGETS ${name}
        LIBRARY DESTINATION ${tavrin_module_destination}
        RUNTIME DESTINATION ${tavrin_module_destination})
endfunction()
