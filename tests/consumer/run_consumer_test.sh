#!/usr/bin/env bash
# Installs the build into a scratch prefix and runs the installed programs from there (--version).
# Then builds the host in host/ outside the tree twice, through find_package(KivDB) and through
# pkg-config, each from the installed headers and library alone; then runs both on a copy of the
# demo database and compares what they print.
#
# usage: run_consumer_test.sh BUILD_DIR WORK_DIR CXX "FLAGS" DEMO_DATABASE
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$1 work=$2 cxx=$3 flags=$4 demo=$5
prefix=$work/prefix

fail() {
  echo "consumer test: $*" >&2
  exit 1
}

rm -rf "$work"
mkdir -p "$work"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "install failed"

# The installed programs find their libraries in the prefix, wherever it lies, and nothing of the
# build tree (their run path is relative to where they are).
for program in kivdb KivWZ KivDBDemo; do
  [ -x "$prefix/bin/$program" ] || { [ "$program" = KivDBDemo ] && continue; fail "$program not installed"; }
  libraries=$(env -u LD_LIBRARY_PATH ldd "$prefix/bin/$program")
  if [ "$program" = KivWZ ]; then
    # The wizard carries the data layer's code itself and never loads the control's library.
    ! grep -q "libKivDB_D" <<<"$libraries" || fail "KivWZ loads libKivDB_D"
  else
    grep -q "libKivDB_D.so.* => $prefix/" <<<"$libraries" ||
      { echo "$libraries"; fail "$program: KivDB_D not found in $prefix"; }
  fi
  if grep -q "not found" <<<"$libraries"; then
    echo "$libraries"
    fail "$program: a library is not found"
  fi
  fromBuild=$(grep -v "=> $prefix/" <<<"$libraries" | grep "$build" || true)
  [ -z "$fromBuild" ] || fail "$program: loads from the build tree: $fromBuild"
  version=$(env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen "$prefix/bin/$program" --version) ||
    fail "$program --version failed"
  [[ "$version" == "$program "[0-9]* ]] || fail "$program --version printed '$version'"
done

# find_package(KivDB), from the prefix only.
cmake -S "$here/host" -B "$work/cmake-host" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_BUILD_TYPE=Release \
  >"$work/cmake-host.log" 2>&1 || { cat "$work/cmake-host.log"; fail "configure failed"; }
cmake --build "$work/cmake-host" >>"$work/cmake-host.log" 2>&1 ||
  { cat "$work/cmake-host.log"; fail "find_package build failed"; }

# pkg-config kivdb, with the compiler told nothing else; the installed kivdb.pc finds the prefix
# from where it lies.
pcdir=$(dirname "$(find "$prefix" -name kivdb.pc -print -quit)")
[ -d "$pcdir" ] || fail "no kivdb.pc installed"
export PKG_CONFIG_PATH=$pcdir
libdir=$(pkg-config --variable=libdir kivdb)
# shellcheck disable=SC2046,SC2086
"$cxx" -std=c++20 $flags $(pkg-config --cflags kivdb) "$here/host/host.cpp" -o "$work/pc-host" \
  $(pkg-config --libs kivdb) -Wl,-rpath,"$libdir" || fail "pkg-config build failed"

expected="$work/expected.txt"
sed "s|@FOLDER@|$work/run|g" "$here/expected.txt" >"$expected"
for host in "$work/cmake-host/kivdb_host" "$work/pc-host"; do
  # Linked against the installed library, and nothing of the build tree.
  # ldd's output is taken whole first: `grep -q` closing the pipe early would fail it under pipefail.
  libraries=$(ldd "$host")
  grep -q "libKivDB_D.so.* => $prefix/" <<<"$libraries" ||
    { echo "$libraries"; fail "$host: not linked to $prefix"; }
  # (The scratch prefix may itself lie inside the build folder.)
  fromBuild=$(grep -v "=> $prefix/" <<<"$libraries" | grep "$build" || true)
  [ -z "$fromBuild" ] || fail "$host: loads from the build tree: $fromBuild"
  rm -rf "$work/run"
  mkdir -p "$work/run"
  cp "$demo" "$work/run/demo.db"
  (cd "$work/run" && "$host" "$work/run/demo.db" "$work/run" 'Data Browser\Regions') >"$work/out.txt" ||
    { cat "$work/out.txt"; fail "$host failed"; }
  diff -u "$expected" "$work/out.txt" || fail "$host printed other lines"
  grep -q "<table id='TBL" "$work/run/oReport.htm" || fail "$host: the page has no table"
done
echo "consumer test: both hosts built against $prefix and printed what was expected"
