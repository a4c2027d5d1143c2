#!/usr/bin/env bash
# scripts/pg-cluster as CTest and the benchmarks use it: two clusters side by side never meet, a
# cluster left behind by a killed run does not stop the next start, and stop removes everything.
set -euo pipefail

script=${1:?usage: pg_cluster_test.sh PATH/TO/pg-cluster}
work=$(mktemp -d)
cluster() { bash "$script" "$@"; }
trap 'cluster stop "$work/a.conn" >/dev/null 2>&1 || true; cluster stop "$work/b.conn" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

setting() {  # setting FILE KEY: a value of the connection string in FILE
  tr ';' '\n' <"$1" | sed -n "s/^$2=//p"
}

query() {  # query FILE SQL: runs SQL on the cluster of FILE through its TCP port and password
  PGPASSWORD=$(setting "$1" Pwd) psql -X -q -t -A -h 127.0.0.1 -p "$(setting "$1" Port)" \
    -U "$(setting "$1" Uid)" -d "$(setting "$1" Database)" -c "$2"
}

# Two at once, as an optimised and a sanitizer build do.
cluster start "$work/a.conn" >"$work/a.out" &
first=$!
cluster start "$work/b.conn" >"$work/b.out" &
second=$!
wait $first || fail "the first start failed"
wait $second || fail "the second start failed"
[ "$(cat "$work/a.out")" = "$(cat "$work/a.conn")" ] || fail "start printed another string than it wrote"
[ "$(setting "$work/a.conn" Port)" != "$(setting "$work/b.conn" Port)" ] || fail "same port twice"
[ "$(cat "$work/a.conn.cluster")" != "$(cat "$work/b.conn.cluster")" ] || fail "same folder twice"
[ "$(query "$work/a.conn" "SELECT 1")" = 1 ] || fail "first server does not answer"
[ "$(query "$work/b.conn" "SELECT 2")" = 2 ] || fail "second server does not answer"
grep -q "Driver={PostgreSQL Unicode}" "$work/a.conn" || fail "no ODBC driver in the string"

# The server runs as an unprivileged account.
folder=$(cat "$work/a.conn.cluster")
pid=$(head -n 1 "$folder/data/postmaster.pid")
[ "$(stat -c %u /proc/"$pid")" != 0 ] || fail "the server runs as root"

# A run killed without stop: its server dies, its folder stays; the next start still works.
kill -9 "$pid"
sleep 1
cluster start "$work/a.conn" >/dev/null || fail "start after a killed run failed"
[ ! -d "$folder" ] || fail "the folder of the killed run was left behind"
[ "$(query "$work/a.conn" "SELECT 3")" = 3 ] || fail "the new server does not answer"

for name in a b; do
  folder=$(cat "$work/$name.conn.cluster")
  cluster stop "$work/$name.conn" || fail "stop failed"
  [ ! -d "$folder" ] || fail "stop left $folder"
  [ ! -e "$work/$name.conn" ] || fail "stop left the connection file"
done
cluster stop "$work/a.conn" || fail "a second stop failed"
echo "pg-cluster: 1 passed, 0 failed"
