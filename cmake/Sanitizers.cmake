# Every target of a sanitized build, tests and the programs they drive alike, runs under
# AddressSanitizer and UndefinedBehaviorSanitizer; undefined behaviour aborts instead of warning.
add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)
