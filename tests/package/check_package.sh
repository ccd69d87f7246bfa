#!/bin/sh
# Builds the Debian package of a build directory into a temporary directory,
# unpacks it into a temporary root and checks what it installs: the programs
# start from there and the installed data passes the start's checks. Exits 77
# (skipped) without cpack or dpkg-deb.
# Usage: check_package.sh CPACK BUILD_DIR GUI(1|0)
set -eu
cpack=$1
build=$2
gui=$3

if ! command -v "$cpack" >/dev/null 2>&1 || ! command -v dpkg-deb >/dev/null 2>&1; then
  echo "cpack or dpkg-deb is not available: skipped"
  exit 77
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if ! "$cpack" -G DEB -B "$tmp/out" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log" >&2
  fail "cpack -G DEB failed (are lemmix and lemmix-cli built?)"
fi
set -- "$tmp"/out/*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "expected one package in $tmp/out, found: $*"
deb=$1
echo "package: $(basename "$deb")"

[ "$(dpkg-deb -f "$deb" Package)" = lemmix ] || fail "the package is not named lemmix"
[ "$(dpkg-deb -f "$deb" Maintainer)" = "Lemmix developers" ] || fail "wrong maintainer"
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
case "$depends" in *libstdc++6*) ;; *) fail "the package does not depend on the C++ run-time" ;; esac
if [ "$gui" = 1 ]; then
  case "$depends" in *libqt6widgets6*) ;; *) fail "the package does not depend on Qt 6 Widgets" ;; esac
fi
# Everything lives under /usr; nothing of the build (headers, static libraries) comes along.
stray=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v -e '^\./$' -e '^\./usr/' || true)
[ -z "$stray" ] || fail "files outside /usr: $stray"
if dpkg-deb -c "$deb" | awk '{print $6}' | grep -e '\.a$' -e '\.h$' -e '/include/'; then
  fail "build files in the package"
fi

root="$tmp/root"
dpkg-deb -x "$deb" "$root"
data="$root/usr/share/lemmix/data"
for file in TYPES.DAT STFUNC.DAT COUPLES.DAT ASSOT.DAT Symbolon.ttf book/content; do
  [ -f "$data/$file" ] || fail "$file is not installed in the data directory"
done
[ -x "$root/usr/bin/lemmix-cli" ] || fail "lemmix-cli is not installed"
"$root/usr/bin/lemmix-cli" --lang en check "$data" || fail "lemmix-cli check of the installed data failed"

# A student's own data: copied from the installed data on the first run, kept
# through a reinstall, and a new edition taken with the student's protocols.
home="$tmp/home"
user="$home/.local/share/lemmix/data"
mkdir -p "$home"
where() { (cd "$tmp" && env -u XDG_DATA_HOME HOME="$home" "$root/usr/bin/lemmix-cli" data "$@"); }
out=$(where) || fail "lemmix-cli data failed"
echo "$out" | grep -qxF "data: $user" || fail "the user's data is not in $user: $out"
echo "$out" | grep -qxF "made now from the installed data" || fail "the first run made no copy: $out"
mkdir -p "$user/Protocols/6/3/1"
printf 'a proof of mine\r\n' >"$user/Protocols/6/3/1/mine.prt"
dpkg-deb -x "$deb" "$root"
out=$(where) || fail "lemmix-cli data failed after the reinstall"
echo "$out" | grep -qxF "the user's copy of the installed data" || fail "the reinstall replaced the user's copy: $out"
echo "$out" | grep -qxF "another edition installed: no" || fail "the same package is taken for another edition: $out"
[ "$(cat "$user/Protocols/6/3/1/mine.prt")" = "$(printf 'a proof of mine\r\n')" ] || fail "the student's protocol is lost"
printf 'second edition\r\n' >"$data/EDITION"
out=$(where) || fail "lemmix-cli data failed"
echo "$out" | grep -qxF "another edition installed: yes" || fail "a new edition is not seen: $out"
out=$(where take) || fail "lemmix-cli data take failed"
echo "$out" | grep -qxF "another edition installed: no" || fail "the new edition was not taken: $out"
[ -f "$user/EDITION" ] || fail "the new edition is not in the user's copy"
[ -f "$user/Protocols/6/3/1/mine.prt" ] || fail "taking the new edition lost the student's protocol"
[ -d "$user.previous" ] || fail "the previous copy is not kept"
"$root/usr/bin/lemmix-cli" --lang en check "$user" >/dev/null || fail "the user's copy does not pass the check"
echo "the user's data survives a reinstall and takes a new edition"

if [ "$gui" = 1 ]; then
  [ -x "$root/usr/bin/lemmix" ] || fail "lemmix is not installed"
  # The GUI's libraries resolve: it starts far enough to answer its version.
  version=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/lemmix" --version) || fail "lemmix --version failed"
  echo "$version"
  [ "$version" = "lemmix $(dpkg-deb -f "$deb" Version)" ] || fail "lemmix --version answers '$version'"

  desktop="$root/usr/share/applications/lemmix.desktop"
  [ -f "$desktop" ] || fail "the desktop entry is not installed"
  for line in '[Desktop Entry]' 'Type=Application' 'Name=Lemmix' 'Exec=lemmix' 'Icon=lemmix' \
              'Categories=Education;Math;Science;'; do
    grep -qxF "$line" "$desktop" || fail "the desktop entry lacks the line $line"
  done
  if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
  fi
  icon="$root/usr/share/icons/hicolor/scalable/apps/lemmix.svg"
  [ -f "$icon" ] || fail "the icon is not installed"
  grep -q '<svg ' "$icon" || fail "the icon is not an SVG image"
fi
echo "package checked"
