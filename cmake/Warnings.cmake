# Warnings for every target of this project; CI turns them into errors.
add_compile_options(-Wall -Wextra -Wshadow)
if(TOLM_WERROR)
    add_compile_options(-Werror)
endif()

if(TOLM_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
