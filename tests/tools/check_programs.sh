#!/usr/bin/env bash
# The programs as a packager and a reader of their manual meet them: each prints "NAME VERSION"
# for --version and ends with status 0; every kivdb command has its manual page; every page
# renders through groff and man without a warning.
#
# usage: check_programs.sh VERSION MAN_DIR PROGRAM...
set -uo pipefail

version=$1 mandir=$2
shift 2
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

kivdb=""
for program in "$@"; do
  name=$(basename "$program")
  [ "$name" = kivdb ] && kivdb=$program
  # No display: --version must not need one.
  output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version 2>&1)
  status=$?
  [ $status -eq 0 ] || fail "$name --version ended with status $status"
  [ "$output" = "$name $version" ] || fail "$name --version printed '$output', not '$name $version'"
done

if [ -n "$kivdb" ]; then
  commands=$("$kivdb" --help | sed -n '/^Subcommands:/,$p' | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p')
  [ -n "$commands" ] || fail "kivdb --help lists no command"
  for command in $commands; do
    [ -f "$mandir/kivdb-$command.1" ] || fail "kivdb $command has no manual page kivdb-$command.1"
  done
fi

for page in "$mandir"/*.1; do
  warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
  [ -z "$warnings" ] || fail "groff on $(basename "$page"): $warnings"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man -l on $(basename "$page"): $warnings"
  rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
  grep -q '^NAME' <<<"$rendered" || fail "man -l on $(basename "$page") shows no NAME section"
done

[ $failures -eq 0 ] && echo "programs and manual pages: all checked"
exit $((failures > 0))
