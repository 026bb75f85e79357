#!/usr/bin/env bash
# The Debian package on a workstation that never saw it: unpacked into an empty folder, its
# corvalo-backoffice makes and checks a central database, and its corvalo starts against the
# private server with the settings file in that folder's etc/.
#   package_test.sh BUILD_DIR   (CORVALO_TEST_SERVER names the private server)
set -euo pipefail
BUILD="$1"
: "${CORVALO_TEST_SERVER:?the private server (CORVALO_TEST_SERVER) is needed}"
TMP="$(mktemp -d)"
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$TMP"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$BUILD" && cpack -G DEB -B "$TMP/pkg" >"$TMP/cpack.log" 2>&1) || { cat "$TMP/cpack.log"; fail "cpack"; }
deb="$(ls "$TMP"/pkg/corvalo_*.deb)"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks the Qt libraries"
dpkg-deb -f "$deb" Depends | grep -qv 'mariadb-server\|libgtest\|-dev' || fail "Depends names a build or server package"
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles | grep -qx /etc/corvalo/corvalo.conf || fail "conffiles"
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles | grep -qx /etc/corvalo/Reportes/LEEME || fail "conffiles: LEEME"
dpkg-deb -f "$deb" Depends | grep -q 'qt6-translations-l10n' || fail "Depends lacks Qt's translations"
ROOT="$TMP/root"
mkdir "$ROOT"
dpkg -x "$deb" "$ROOT"
for f in usr/bin/corvalo usr/bin/corvalo-backoffice usr/share/applications/corvalo.desktop \
         usr/share/icons/hicolor/scalable/apps/corvalo.svg usr/share/man/man1/corvalo.1 \
         usr/share/man/man1/corvalo-backoffice.1 usr/share/corvalo/Reportes/diario.rpt etc/corvalo/corvalo.conf etc/corvalo/Reportes/LEEME; do
    [ -e "$ROOT/$f" ] || fail "the package lacks $f"
done
[ "$(stat -c %a "$ROOT/etc/corvalo/corvalo.conf")" = 640 ] || fail "corvalo.conf is not 0640"

campo() { printf '%s' "$CORVALO_TEST_SERVER" | tr ';' '\n' | sed -n "s/^ *$1 *= *//p" | sed 's/ *$//'; }
sql() { mariadb --no-defaults -h "$(campo server)" -P "$(campo port)" -u "$(campo uid)" -p"$(campo pwd)" -N -B -e "$1"; }
BASE=t_package
CENTRAL="${CORVALO_TEST_SERVER%;};database=$BASE;"
sql "DROP DATABASE IF EXISTS $BASE"
"$ROOT/usr/bin/corvalo-backoffice" --central "$CENTRAL" create-schema >/dev/null
"$ROOT/usr/bin/corvalo-backoffice" --central "$CENTRAL" check | grep -q 'has every table' || fail "check"

export HOME="$TMP/home" QT_QPA_PLATFORM=offscreen
unset XDG_CONFIG_HOME
mkdir -p "$HOME"
printf '"LPT1:",0,0,8\r\n' >"$TMP/KVR2.bin"
cat >"$ROOT/etc/corvalo/corvalo.conf" <<CONF
# this workstation
central = $CENTRAL
print-settings = $TMP/KVR2.bin
log-level = info
log-file = $TMP/corvalo.log
CONF
version="$("$ROOT/usr/bin/corvalo" --version)"
grep -qx "settings file $ROOT/etc/corvalo/corvalo.conf: read" <<<"$version" || { echo "$version"; fail "--version: system file"; }
grep -qx "    ($ROOT/etc/corvalo/corvalo.conf line 2)" <<<"$version" || { echo "$version"; fail "--version: origin"; }
grep -q "pwd=\*\*\*;database=$BASE;" <<<"$version" || { echo "$version"; fail "--version: masked password"; }
grep -q "pwd=$(campo pwd);" <<<"$version" && fail "--version shows the password"

"$ROOT/usr/bin/corvalo" >"$TMP/out.log" 2>&1 &
pid=$!
conectado=0
for _ in $(seq 1 40); do
    kill -0 "$pid" 2>/dev/null || { cat "$TMP/out.log"; fail "the program ended"; }
    [ "$(sql "select count(*) from information_schema.processlist where db='$BASE'")" -gt 0 ] && { conectado=1; break; }
    sleep 0.5
done
[ "$conectado" = 1 ] || { cat "$TMP/out.log"; fail "the program did not connect to $BASE"; }
grep -q "settings file $ROOT/etc/corvalo/corvalo.conf: read" "$TMP/corvalo.log" || fail "the log does not say which file was read"

# A bad settings file stops it with the file and line named.
echo "centrl = x" >>"$ROOT/etc/corvalo/corvalo.conf"
set +e
err="$("$ROOT/usr/bin/corvalo" --version 2>&1)"
rc=$?
set -e
[ "$rc" = 2 ] || fail "a bad settings file gave exit code $rc"
grep -q "$ROOT/etc/corvalo/corvalo.conf line 6: unknown key \"centrl\"" <<<"$err" || { echo "$err"; fail "bad file message"; }
sql "DROP DATABASE IF EXISTS $BASE"
echo "package test passed: $(basename "$deb")"
