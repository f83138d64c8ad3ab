# The Windows setup (resources/setup/setup.nsi), made with NSIS: sourced by
# scripts/package, which publishes the x86 one, and by the setup's test,
# which also makes an amd64 one.
#
#   make_setup OUTFILE x86-unicode PROGRAM32 PROGRAM64
#   make_setup OUTFILE amd64-unicode PROGRAM64
#
# The version comes from the top CMakeLists.txt; the readme and the icon from
# resources/. Paths may be relative to the project's root.

make_setup() {
  local out=$1 target=$2 root version
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  version=$(sed -n 's/^project(Quorlith VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
  [ -n "$version" ] || { echo "make_setup: no version in CMakeLists.txt" >&2; return 1; }
  # Windows wants four numbers in a file's version.
  local numbers=$version
  while [ "$(tr -cd . <<<"$numbers" | wc -c)" -lt 3 ]; do numbers=$numbers.0; done
  local programs=()
  if [ "$target" = x86-unicode ]; then
    programs=(-DPROGRAM32="$(realpath "$3")" -DPROGRAM64="$(realpath "$4")")
  else
    programs=(-DPROGRAM64="$(realpath "$3")")
  fi
  mkdir -p "$(dirname "$out")"
  # makensis works in the script's folder; -V2 shows warnings and errors only.
  makensis -V2 -WX -DVERSION="$version" -DFILE_VERSION="$numbers" -DTARGET="$target" \
    "${programs[@]}" -DREADME="$root/resources/Quorlith.txt" -DICON="$root/resources/Quorlith.ico" \
    -DOUTFILE="$(realpath -m "$out")" "$root/resources/setup/setup.nsi"
}
