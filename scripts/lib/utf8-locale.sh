# Wine names files in the bytes of its caller's locale: under one that is not
# UTF-8 (LANG unset, as on a fresh minimal Debian, under env -i or in a bare
# container) it maps every name outside ASCII to 7 bits, and "ü.txt" reaches
# the program as "C<.txt". Everything that starts Wine sources this file: a
# caller without a UTF-8 locale gets C.UTF-8 (glibc's own, always there); a
# UTF-8 locale, whatever its language, stays as it is.
case "$(locale charmap 2>/dev/null)" in
  UTF-8) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac
