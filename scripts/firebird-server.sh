#!/usr/bin/env bash
# Starts a Firebird server on 127.0.0.1:3050 for the tests that address a
# database through a server: "localhost:path", a server alias, a wrong
# password. Prints the environment the tests read, as shell assignments.
set -euo pipefail

password=orbelan-test
alias_name=orbelan_test
data_dir=/tmp/orbelan-fbserver
conf=/etc/firebird/3.0/databases.conf

mkdir -p "$data_dir"
chmod 777 "$data_dir"

# The alias the tests reach as "localhost:orbelan_test".
if ! grep -q "^$alias_name " "$conf"; then
  echo "$alias_name = $data_dir/alias.fdb" >>"$conf"
fi

if ! pgrep -x firebird >/dev/null && ! pgrep -x fbguard >/dev/null; then
  # SYSDBA's password, set through an embedded connection to a scratch database.
  scratch=$(mktemp -u /tmp/orbelan-fbpass-XXXXXX.fdb)
  isql-fb -q -user SYSDBA >/dev/null <<SQL
create database '$scratch';
create or alter user SYSDBA password '$password' using plugin Srp;
commit;
SQL
  rm -f "$scratch"
  setsid /usr/sbin/firebird </dev/null >/tmp/orbelan-fbserver.log 2>&1 &
  for _ in $(seq 1 50); do
    (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null && break
    sleep 0.2
  done
fi

echo "export ORBELAN_TEST_SERVER=localhost"
echo "export ORBELAN_TEST_SERVER_DIR=$data_dir"
echo "export ORBELAN_TEST_ALIAS=$alias_name"
echo "export ISC_USER=SYSDBA"
echo "export ISC_PASSWORD=$password"
