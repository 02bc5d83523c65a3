#!/usr/bin/env bash
# Builds the Debian package of Quillon from the CMake install rules:
#
#   scripts/package.sh [--build-dir DIR] [--output DIR]
#
# Without --build-dir the programs are built first in build-package (with
# Debian's hardening flags, without tests); with it, the programs already built in DIR are packed as
# they are. The package goes to --output (default: the current folder) and
# its path is printed. Depends is computed from the binaries, the binaries
# are stripped, and no installed file may name the tree it was built in.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=""
output=$PWD

usage() { echo "usage: scripts/package.sh [--build-dir DIR] [--output DIR]" >&2; exit 2; }
while [ $# -gt 0 ]; do
  case "$1" in
  --build-dir) [ $# -ge 2 ] || usage; build=$2; shift 2 ;;
  --output) [ $# -ge 2 ] || usage; output=$2; shift 2 ;;
  *) usage ;;
  esac
done

mkdir -p "$output"
output=$(cd "$output" && pwd)
if [ -z "$build" ]; then
  "$source_dir/scripts/setup.sh"
  build=$source_dir/build-package
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Debian's own compiler and linker flags: hardening, and the source
  # tree's path mapped away (dpkg-buildflags maps the current folder).
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  cd "$source_dir"
  cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_BUILD_TESTS=OFF \
    -DQUILLON_BUILD_BENCH=OFF "-DQUILLON_PARTS=engine;platform;persist;output;online;ui;tools" \
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)" \
    "${launcher[@]}" >/dev/null
  cmake --build "$build" -j2 --target quillon quillon-register quillon-query quillon-plot
fi
build=$(cd "$build" && pwd)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
[ -n "$version" ] || { echo "package: no project version in $build" >&2; exit 1; }
# Every file carries the time of the last commit, so that two builds of one
# commit give the same package.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null || date +%s)
fi
export SOURCE_DATE_EPOCH

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# dpkg-shlibdeps wants the files in a package folder of a source tree.
root=$work/src/debian/quillon
mkdir -p "$root/DEBIAN"
printf 'Source: quillon\n\nPackage: quillon\nArchitecture: any\n' >"$work/src/debian/control"
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
cd "$work/src"
# The programs and the tool's chart module, which is not executable.
mapfile -t binaries < <(find debian/quillon -type f -exec sh -c 'head -c4 "$1" | grep -q ELF' _ {} \; -print)
# Stripped as dh_strip would, without the compiler's notes.
strip --strip-unneeded --remove-section=.comment --remove-section=.note "${binaries[@]}"

doc=$root/usr/share/doc/quillon
mkdir -p "$doc"
install -m 0644 "$source_dir/packaging/deb/copyright" "$doc/copyright"
gzip -9n -c "$source_dir/packaging/deb/changelog" >"$doc/changelog.gz"
find "$root/usr/share/man" -type f -name '*.[0-9]' -exec gzip -9n {} +

# Modes as dpkg expects them, whatever the umask was.
find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -perm /0111 -exec chmod 0755 {} +
find "$root" -type f ! -perm /0111 -exec chmod 0644 {} +

if grep -rlsF -e "$build" -e "$source_dir" "$root"; then
  echo "package: the files above name the build or source tree" >&2
  exit 1
fi

depends=$(dpkg-shlibdeps -O "${binaries[@]}" | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "package: dpkg-shlibdeps found no dependencies" >&2; exit 1; }

size=$(du -sk --apparent-size --exclude=DEBIAN "$root" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@SIZE@/$size/" -e "s/@DEPENDS@/$depends/" \
  "$source_dir/packaging/deb/control.in" >"$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

find "$root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
deb=$output/quillon_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
