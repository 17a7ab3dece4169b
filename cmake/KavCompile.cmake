# Warnings and sanitizers shared by every target of the project.
set(KAV_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)

if(KAV_SANITIZE)
    add_compile_options(${KAV_SANITIZE_FLAGS} -O1 -g)
    add_link_options(${KAV_SANITIZE_FLAGS})
endif()

function(kav_compile_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-unused-parameter)
endfunction()
