# Import libraries that load their DLL at the first call rather than at start-up:
# a second launch, which only hands its path over, and the opening of the window
# then never pay for the DLLs they do not call.
#   calv_delay_import(<name> <dll> <function>/<argument bytes> ...)
# defines the interface library <name>. The 32-bit names carry their stdcall
# argument size; the DLL itself exports them undecorated.
function(calv_delay_import name dll)
    set(def "${CMAKE_CURRENT_BINARY_DIR}/${dll}_delay.def")
    set(lib "${CMAKE_CURRENT_BINARY_DIR}/lib${dll}_delay.a")
    set(text "LIBRARY ${dll}.dll\nEXPORTS\n")
    set(stubs "")
    foreach(entry IN LISTS ARGN)
        string(REPLACE "/" ";" parts "${entry}")
        list(GET parts 0 function)
        list(GET parts 1 bytes)
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            string(APPEND text "${function}@${bytes}\n")
            set(symbol "_${function}@${bytes}")
        else()
            string(APPEND text "${function}\n")
            set(symbol "${function}")
        endif()
        # The loading stub sits beside the plain symbol. Code compiled against the headers
        # names only the import slot, and the 32-bit linker then leaves the stub out and the
        # slot 0: a call to address 0. Asking for the plain symbol keeps the stub in.
        list(APPEND stubs "LINKER:--undefined=${symbol}")
    endforeach()
    file(WRITE "${def}" "${text}")
    set(kill_at "")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(kill_at --kill-at)
    endif()
    add_custom_command(OUTPUT "${lib}"
        COMMAND ${CMAKE_DLLTOOL} --input-def "${def}" --output-delaylib "${lib}" ${kill_at}
        DEPENDS "${def}" VERBATIM)
    add_custom_target(${name}_lib DEPENDS "${lib}")
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE "${lib}")
    target_link_options(${name} INTERFACE ${stubs})
    add_dependencies(${name} ${name}_lib)
endfunction()
