# zru_add_app(<name> <sources>...)
#
# Builds an application executable from the generic launcher, the given
# application module and the framework, and exports exactly the module's
# `makeApp` and `my_type` by name. This is the one place that knows how each
# platform exports names from an executable. The same file serves the source
# tree and the installed package, where it lies beside zruConfig.cmake.

function(zru_add_app name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE zru::launcher zru::zru)
    if(WIN32)
        # The export table of the .exe, numbered from 1 in name order.
        target_sources(${name} PRIVATE "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/zruAppExports.def")
        # CMake hands a .def to the linker of an executable only with exports enabled.
        set_target_properties(${name} PROPERTIES ENABLE_EXPORTS ON)
    else()
        # The executable's dynamic symbol table, holding these two and no more.
        # -fPIC keeps the module's uses of shared-library data (stderr, say)
        # behind the GOT, so no copy relocation adds a name of its own.
        target_compile_options(${name} PRIVATE -fPIC)
        # --require-defined turns a module that lacks one of them into a
        # link error rather than an executable that silently exports less.
        target_link_options(${name} PRIVATE
            "LINKER:--require-defined=makeApp"
            "LINKER:--require-defined=my_type"
            "LINKER:--export-dynamic-symbol=makeApp"
            "LINKER:--export-dynamic-symbol=my_type")
    endif()
endfunction()
