# The hardening Debian builds its packages with (dpkg-buildflags, plus
# bindnow), in every Release build: the package's and scripts/run's alike.
# Sanitizer and fuzzing builds are Debug builds and go without: fortified
# functions need optimisation, and the sanitizers check more.
add_compile_options("$<$<CONFIG:Release>:-fstack-protector-strong;-Wformat;-Werror=format-security>")
add_compile_definitions("$<$<CONFIG:Release>:_FORTIFY_SOURCE=2>")
add_link_options("$<$<CONFIG:Release>:LINKER:-z,relro;LINKER:-z,now>")
