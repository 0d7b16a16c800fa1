#!/usr/bin/env bash
# Runs a command against a throw-away PostgreSQL server registered as the ODBC data source "det".
#
#   scripts/with-postgres.sh COMMAND [ARGS...]
#
# The server gets its own data folder in a temporary directory, listens on 127.0.0.1 only, on a
# free port, with a private socket folder, and is stopped (and its folder removed) when the
# command ends, however it ends. Run as root, the server runs as the `postgres` user; run as
# anyone else, it runs as that user. The command sees:
#   ODBCSYSINI, ODBCINI        a driver and a "det" data source for the server (psqlODBC)
#   QUILLET_TEST_PGPORT        the server's port on 127.0.0.1
#   QUILLET_TEST_PGDATABASE    the database, with the citext extension installed
#   QUILLET_TEST_PGLATIN1      a second database, in the LATIN1 encoding
#   QUILLET_TEST_PGCTL         pg_ctl for this server, run as the server's user with its data
#                              folder and log file given: "$QUILLET_TEST_PGCTL restart -m fast",
#                              or "stop -m fast" and then "start", bring it back on the same port
# The database belongs to the role "Admin", which logs in with the record store's default
# password over TCP; nothing else can log in over TCP.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARGS...]" >&2
  exit 64
fi

pg_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
driver=$(ls /usr/lib/*/odbc/psqlodbca.so 2>/dev/null | head -n 1)
if [ -z "$pg_bin" ] || [ -z "$driver" ]; then
  echo "$0: PostgreSQL server or psqlODBC missing (run scripts/install-deps.sh)" >&2
  exit 1
fi

as_server=()
if [ "$(id -u)" -eq 0 ]; then
  as_server=(runuser -u postgres --)
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quillet-pg-XXXXXX")
chmod 755 "$work"
data="$work/data"
sockets="$work/sockets"
mkdir -p "$data" "$sockets" "$work/odbc"
chmod 700 "$data" "$sockets"
if [ ${#as_server[@]} -gt 0 ]; then
  chown postgres: "$data" "$sockets"
fi

stop_server() {
  if [ -f "$data/postmaster.pid" ]; then
    "${as_server[@]}" "$pg_bin/pg_ctl" -D "$data" -m fast -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap stop_server EXIT
trap 'exit 130' INT TERM

"${as_server[@]}" "$pg_bin/initdb" -D "$data" -U postgres -E UTF8 --locale=C.UTF-8 \
  --auth-local=trust --auth-host=scram-sha-256 >"$work/initdb.log" 2>&1 || {
  cat "$work/initdb.log" >&2
  exit 1
}

# A port that is free now may be taken before the server binds it: try a few.
started=
for _ in 1 2 3 4 5 6 7 8 9 10; do
  port=$((20000 + RANDOM % 40000))
  if "${as_server[@]}" "$pg_bin/pg_ctl" -D "$data" -l "$data/server.log" -w -t 60 \
    -o "-c listen_addresses=127.0.0.1 -p $port -k $sockets" start >/dev/null 2>&1; then
    started=1
    break
  fi
done
if [ -z "$started" ]; then
  echo "$0: the PostgreSQL server did not start:" >&2
  tail -n 20 "$data/server.log" >&2 || true
  exit 1
fi

database=quillet
psql_admin=("${as_server[@]}" "$pg_bin/psql" -X -q -v ON_ERROR_STOP=1 -h "$sockets" -p "$port"
  -U postgres)
"${psql_admin[@]}" -d postgres -c "CREATE ROLE \"Admin\" LOGIN PASSWORD '09octvel'" \
  -c "CREATE DATABASE $database OWNER \"Admin\" ENCODING 'UTF8'" >/dev/null
"${psql_admin[@]}" -d "$database" -c "CREATE EXTENSION citext" >/dev/null
# A database in a narrow encoding, which --create-schema must refuse.
latin1_database=quillet_latin1
"${psql_admin[@]}" -d postgres -c "CREATE DATABASE $latin1_database OWNER \"Admin\" \
  ENCODING 'LATIN1' LC_COLLATE 'C' LC_CTYPE 'C' TEMPLATE template0" >/dev/null

cat >"$work/odbc/odbcinst.ini" <<INI
[PostgreSQL ANSI]
Driver=$driver
INI
cat >"$work/odbc/odbc.ini" <<INI
[det]
Driver=$driver
Servername=127.0.0.1
Port=$port
Database=$database
INI

export ODBCSYSINI="$work/odbc" ODBCINI="$work/odbc/odbc.ini"
export QUILLET_TEST_PGPORT="$port" QUILLET_TEST_PGDATABASE="$database"
export QUILLET_TEST_PGLATIN1="$latin1_database"
# The server keeps the options it was started with (port, socket folder) across a restart; its
# output goes to the log, not to whatever the caller reads from.
cat >"$work/pg_ctl" <<SH
#!/bin/sh
if [ "\$1" = start ]; then
  shift
  set -- start -o "-c listen_addresses=127.0.0.1 -p $port -k $sockets" "\$@"
fi
exec ${as_server[*]} "$pg_bin/pg_ctl" -D "$data" -l "$data/server.log" -w -t 60 "\$@"
SH
chmod 755 "$work/pg_ctl"
export QUILLET_TEST_PGCTL="$work/pg_ctl"
status=0
"$@" || status=$?
exit "$status"
