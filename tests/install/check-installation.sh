#!/usr/bin/env bash
# Installs the build into a new prefix and runs the installed program as a
# user would, with none of the library's variables set: `orbelan demo` sets
# up a demo installation and shows its window (offscreen), a query is
# exported to .xlsx through libXendo, which the program must find in its own
# installation. Then the same export from the build tree. Prints what failed;
# exit status 1 when something did.
#   check-installation.sh BUILD_DIR
set -uo pipefail
build=$1
work=$(mktemp -d /tmp/orbelan-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
unset ORBELAN_LIBRARY_DIR ORBELAN_HOST_DIR ORBELAN_WINDOWS_DIR
export QT_QPA_PLATFORM=offscreen
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

if ! cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  fail "cmake --install"
  exit 1
fi
prefix=$work/prefix
for file in bin/orbelan lib/orbelan/libOrbelan.so lib/orbelan/libXendo.so lib/orbelan/libVopra.so \
  share/orbelan/schema/archive.sql share/orbelan/schema/user.sql \
  share/orbelan/Report/ETICHETTA.LBL share/orbelan/Report/ETICHETTA.TXT \
  share/orbelan/report/QGr01N.RPT share/orbelan/report/TEXT.rpt share/man/man1/orbelan.1; do
  [[ -f $prefix/$file ]] || fail "$file is not installed"
done

# program: the orbelan to run; name: where its demo goes.
check_program() {
  local program=$1 name=$2
  local demo=$work/$name-demo
  if ! "$program" demo "$demo" --screenshot "$work/$name.png" >"$work/$name-demo.log" 2>&1; then
    cat "$work/$name-demo.log"
    fail "$program demo"
    return
  fi
  [[ -s $work/$name.png ]] || fail "$program demo showed no window"
  if ! ORBELAN_HOST_DIR=$demo "$program" query --user 1 --table ETICHETTE \
    --export "$work/$name.xlsx" --type ExcelX >"$work/$name-query.log" 2>&1; then
    cat "$work/$name-query.log"
    fail "$program query --export ... --type ExcelX"
    return
  fi
  [[ $(head -c 2 "$work/$name.xlsx" 2>/dev/null) == PK ]] || fail "$program wrote no .xlsx workbook"
}

# The installed program as users start it: by name, found on the PATH, from
# a folder of their own.
mkdir -p "$work/elsewhere"
cd "$work/elsewhere"
PATH=$prefix/bin:$PATH check_program orbelan installed
check_program "$build/bin/orbelan" build-tree
echo "installation checks: $failures failed"
((failures == 0))
