# Every target of the project builds with these warnings, and builds clean.
add_compile_options(-Wall -Wextra -Wshadow)
