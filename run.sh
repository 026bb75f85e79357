#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   ./run.sh demo [--fresh]   install, build the program, start the private database (today's demo day
#                             is kept; --fresh loads a new one), launch the program
#   ./run.sh test [--sanitize]  install, build, run every test (exit code is the tests'); --sanitize
#                             builds with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan
#   ./run.sh bench [load|cluster]  install, build, run the benchmarks (with the load of fifty
#                             booths); `load` runs the load alone; `cluster` runs it on the Galera
#                             cluster (./run.sh cluster), then again with one node killed midway
#   ./run.sh fuzz [SECONDS]   build the fuzz targets with clang (build-fuzz) and run each for
#                             SECONDS (default 60); fails on a crash
#   ./run.sh package   install, build, make the Debian package (build/corvalo_*.deb)
#   ./run.sh screenshots   the screenshots of docs/screenshots from the real program on the demo day
#   ./run.sh db-start | db-stop   start or stop the private database server by hand
#   ./run.sh cluster start|stop|status   three Galera nodes on 127.0.0.1 (build/galera), the first
#                             bootstrapping the cluster, the others joining; the schema and the demo
#                             day loaded through the first (database corvalo_cluster)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cmd="${1:-}"
opcion="${2:-}"
SANITIZE=OFF
if [ "$cmd" = test ] && [ "$opcion" = --sanitize ]; then
    SANITIZE=ON
    BUILD="${CORVALO_BUILD_DIR:-$ROOT/build-asan}"
else
    BUILD="${CORVALO_BUILD_DIR:-$ROOT/build}"
fi
DBDIR="$BUILD/mariadb"
TEST_PORT="${CORVALO_TEST_PORT:-33071}"
DEMO_PORT="${CORVALO_DEMO_PORT:-33072}"
# The server the lost-reply tests start, stop and kill themselves.
FAULT_PORT="${CORVALO_FAULT_PORT:-$((TEST_PORT + 2))}"
# The benchmark's latency relay between the booth and the test server.
RELAY_PORT="${CORVALO_RELAY_PORT:-$((TEST_PORT + 3))}"
# The public-address stand-in of the demo.
IP_PORT="${CORVALO_IP_PORT:-$((DEMO_PORT + 10000))}"
# The Galera cluster: node N (1..3) takes client port CLUSTER_PORT+N-1, group communication
# +10+N, incremental state transfer +20+N and full state transfer +30+N.
CLUSTER_PORT="${CORVALO_CLUSTER_PORT:-39171}"
CLUSTER_DIR="$BUILD/galera"
# Run by root, the nodes run as the mysql user, which must reach their folders: a clone inside a
# folder closed to others (root's home) keeps them in a folder of its own under /tmp instead.
if [ "$(id -u)" -eq 0 ] && id mysql >/dev/null 2>&1 && ! runuser -u mysql -- test -x "$ROOT" 2>/dev/null; then
    CLUSTER_DIR="/tmp/corvalo-galera-$(printf '%s' "$BUILD" | cksum | cut -d' ' -f1)"
fi
CLUSTER_DB="corvalo_cluster"
ROOT_PWD="qwe456"           # the local report database's root account, as on a workstation
CENTRAL_USER="corvalo"
CENTRAL_PWD="corvalo"

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libmariadb-dev mariadb-server mariadb-client libgtest-dev libgmock-dev
          fonts-dejavu-core zbar-tools poppler-utils cups-client qt6-charts-dev libqt6opengl6-dev
          dpkg-dev fakeroot file qt6-qpa-plugins qt6-translations-l10n galera-4 rsync)

# Only for ./run.sh bench (instruction counts) and ./run.sh fuzz (libFuzzer).
BENCH_PACKAGES=(valgrind)
FUZZ_PACKAGES=(clang)

log() { printf '==> %s\n' "$*" >&2; }

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build [TARGET...]: configure and build (everything when no target is named).
build() {
    log "building in $BUILD"
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVALO_SANITIZE="$SANITIZE" >/dev/null
    if [ $# -gt 0 ]; then
        local targets=()
        for t in "$@"; do targets+=(--target "$t"); done
        cmake --build "$BUILD" -j "$(nproc)" "${targets[@]}"
    else
        cmake --build "$BUILD" -j "$(nproc)"
    fi
}

mariadbd_bin() {
    for b in /usr/sbin/mariadbd /usr/sbin/mysqld; do [ -x "$b" ] && { echo "$b"; return; }; done
    echo "mariadbd not found" >&2; exit 1
}

# db_start NAME PORT: a private server with its own data folder, port and socket.
db_start() {
    local name="$1" port="$2" dir="$DBDIR/$1"
    local sock="$dir/mysqld.sock" pid="$dir/mysqld.pid"
    mkdir -p "$dir"
    if [ -f "$pid" ] && kill -0 "$(cat "$pid")" 2>/dev/null; then
        log "private server $name already running on port $port"
        return 0
    fi
    local user_opt=()
    [ "$(id -u)" -eq 0 ] && user_opt=(--user=root)
    if [ ! -d "$dir/data/mysql" ]; then
        log "initialising private server $name"
        rm -rf "$dir/data"
        mariadb-install-db --no-defaults --datadir="$dir/data" --auth-root-authentication-method=normal \
            --skip-test-db "${user_opt[@]}" >"$dir/install.log" 2>&1 || { cat "$dir/install.log" >&2; exit 1; }
    fi
    log "starting private server $name on 127.0.0.1:$port"
    "$(mariadbd_bin)" --no-defaults --datadir="$dir/data" --socket="$sock" --port="$port" \
        --bind-address=127.0.0.1 --pid-file="$pid" --log-error="$dir/error.log" \
        --character-set-server=latin1 --collation-server=latin1_swedish_ci \
        --innodb-buffer-pool-size=1G --innodb-flush-log-at-trx-commit=2 --skip-log-bin \
        --max-connections=200 "${user_opt[@]}" >/dev/null 2>&1 &
    for _ in $(seq 1 60); do
        [ -S "$sock" ] && mariadb --no-defaults -S "$sock" -uroot -p"$ROOT_PWD" -e 'select 1' >/dev/null 2>&1 && break
        [ -S "$sock" ] && mariadb --no-defaults -S "$sock" -uroot -e 'select 1' >/dev/null 2>&1 && break
        sleep 0.5
    done
    [ -S "$sock" ] || { log "private server did not start"; cat "$dir/error.log" >&2; exit 1; }
    # Accounts: root with the workstation's password, and the central account.
    if mariadb --no-defaults -S "$sock" -uroot -e 'select 1' >/dev/null 2>&1; then
        mariadb --no-defaults -S "$sock" -uroot <<SQL
ALTER USER 'root'@'localhost' IDENTIFIED BY '$ROOT_PWD';
CREATE USER IF NOT EXISTS 'root'@'127.0.0.1' IDENTIFIED BY '$ROOT_PWD';
GRANT ALL PRIVILEGES ON *.* TO 'root'@'127.0.0.1' WITH GRANT OPTION;
CREATE USER IF NOT EXISTS '$CENTRAL_USER'@'localhost' IDENTIFIED BY '$CENTRAL_PWD';
CREATE USER IF NOT EXISTS '$CENTRAL_USER'@'127.0.0.1' IDENTIFIED BY '$CENTRAL_PWD';
GRANT ALL PRIVILEGES ON *.* TO '$CENTRAL_USER'@'localhost';
GRANT ALL PRIVILEGES ON *.* TO '$CENTRAL_USER'@'127.0.0.1';
FLUSH PRIVILEGES;
SQL
    fi
}

db_stop() {
    local name="$1" dir="$DBDIR/$1"
    local pid="$dir/mysqld.pid"
    [ -f "$pid" ] || return 0
    local p; p="$(cat "$pid")"
    if kill -0 "$p" 2>/dev/null; then
        log "stopping private server $name"
        kill "$p" 2>/dev/null || true
        for _ in $(seq 1 60); do kill -0 "$p" 2>/dev/null || break; sleep 0.5; done
        kill -9 "$p" 2>/dev/null || true
    fi
    rm -f "$pid"
}

central_string() { # PORT DATABASE
    echo "driver={MySQL ODBC 3.51 Driver};server=127.0.0.1;port=$1 ;uid=$CENTRAL_USER;pwd=$CENTRAL_PWD;database=$2;"
}
local_string() { # NAME PORT
    echo "driver={MySQL ODBC 3.51 Driver};server=localhost;port=$2;uid=root;pwd=$ROOT_PWD;database=bd_corvalo;socket=$DBDIR/$1/mysqld.sock;connection="
}

# The public-address stand-in: started once, left running with the demo server.
ip_start() {
    local pid="$DBDIR/demo/serve-ip.pid"
    if [ -f "$pid" ] && kill -0 "$(cat "$pid")" 2>/dev/null; then
        return 0
    fi
    "$BUILD/tools/corvalo-backoffice" serve-ip --port "$IP_PORT" >"$DBDIR/demo/serve-ip.log" 2>&1 &
    echo $! >"$pid"
    sleep 0.3
    kill -0 "$(cat "$pid")" 2>/dev/null || { log "the public-address stand-in did not start:"; cat "$DBDIR/demo/serve-ip.log" >&2; }
}

ip_stop() {
    local pid="$DBDIR/demo/serve-ip.pid"
    [ -f "$pid" ] || return 0
    kill "$(cat "$pid")" 2>/dev/null || true
    rm -f "$pid"
}

# True when the demo database holds today's demo day.
demo_de_hoy() {
    local hoy
    hoy="$(mariadb --no-defaults -S "$DBDIR/demo/mysqld.sock" -u"$CENTRAL_USER" -p"$CENTRAL_PWD" -N -B \
        -e 'select date(fecha) from corvalo_demo.configuracion limit 1' 2>/dev/null || true)"
    [ "$hoy" = "$(date +%F)" ]
}

# The Galera nodes. mariadbd runs as the `mysql` user when started by root (the rsync state
# transfer refuses to run as root), on data folders that user owns.
nodo_dir() { echo "$CLUSTER_DIR/nodo$1"; }
nodo_port() { echo $((CLUSTER_PORT + $1 - 1)); }
nodo_vivo() { local pid; pid="$(nodo_dir "$1")/mysqld.pid"; [ -f "$pid" ] && kill -0 "$(cat "$pid")" 2>/dev/null; }
nodo_sql() { # N SQL...
    local n="$1"; shift
    mariadb --no-defaults -S "$(nodo_dir "$n")/mysqld.sock" -uroot -p"$ROOT_PWD" -N -B "$@"
}
nodo_estado() { nodo_sql "$1" -e "show status like 'wsrep_local_state_comment'" 2>/dev/null | cut -f2; }

# nodo_start N [--wsrep-new-cluster]: starts node N and waits until it is Synced.
nodo_start() {
    local n="$1"; shift
    local dir; dir="$(nodo_dir "$n")"
    local port g ist sst
    port="$(nodo_port "$n")"; g=$((CLUSTER_PORT + 10 + n)); ist=$((CLUSTER_PORT + 20 + n)); sst=$((CLUSTER_PORT + 30 + n))
    local grupo="gcomm://127.0.0.1:$((CLUSTER_PORT + 11)),127.0.0.1:$((CLUSTER_PORT + 12)),127.0.0.1:$((CLUSTER_PORT + 13))"
    local usuario=() dueno=""
    if [ "$(id -u)" -eq 0 ]; then usuario=(--user=mysql); dueno=mysql; fi
    mkdir -p "$dir"
    [ -n "$dueno" ] && chown "$dueno:$dueno" "$CLUSTER_DIR" "$dir"
    if [ -n "$dueno" ] && ! runuser -u "$dueno" -- test -w "$dir"; then
        log "the $dueno user cannot reach $dir (a folder above it is closed to others); clone the project where it can"
        exit 1
    fi
    if [ ! -d "$dir/data/mysql" ]; then
        rm -rf "$dir/data"
        if [ "$*" = --wsrep-new-cluster ]; then
            mariadb-install-db --no-defaults --datadir="$dir/data" --auth-root-authentication-method=normal \
                --skip-test-db "${usuario[@]}" >"$dir/install.log" 2>&1 || { cat "$dir/install.log" >&2; exit 1; }
        else
            mkdir -p "$dir/data" # filled by the state transfer
        fi
        [ -n "$dueno" ] && chown -R "$dueno:$dueno" "$dir"
    fi
    # A node stopped last may bootstrap again; after a crash nobody is marked, and the first node is.
    if [ "$*" = --wsrep-new-cluster ] && [ -f "$dir/data/grastate.dat" ]; then
        sed -i 's/^safe_to_bootstrap: 0/safe_to_bootstrap: 1/' "$dir/data/grastate.dat"
    fi
    log "starting Galera node $n on 127.0.0.1:$port${1:+ (bootstrap)}"
    "$(mariadbd_bin)" --no-defaults --datadir="$dir/data" --socket="$dir/mysqld.sock" --port="$port" \
        --bind-address=127.0.0.1 --pid-file="$dir/mysqld.pid" --log-error="$dir/error.log" \
        --character-set-server=latin1 --collation-server=latin1_swedish_ci \
        --innodb-buffer-pool-size=256M --innodb-flush-log-at-trx-commit=2 --innodb-log-file-size=64M \
        --max-connections=300 --skip-name-resolve "${usuario[@]}" \
        --binlog-format=ROW --default-storage-engine=InnoDB --innodb-autoinc-lock-mode=2 \
        --wsrep-on=ON --wsrep-provider=/usr/lib/galera/libgalera_smm.so --wsrep-cluster-name=corvalo \
        --wsrep-cluster-address="$grupo" --wsrep-node-name="nodo$n" --wsrep-node-address="127.0.0.1:$g" \
        --wsrep-node-incoming-address="127.0.0.1:$port" \
        --wsrep-provider-options="gmcast.listen_addr=tcp://127.0.0.1:$g;ist.recv_addr=127.0.0.1:$ist;gcache.size=64M;evs.keepalive_period=PT0.5S;evs.suspect_timeout=PT2S;evs.inactive_check_period=PT0.5S;evs.inactive_timeout=PT4S;evs.install_timeout=PT4S" \
        --wsrep-sst-method=rsync --wsrep-sst-receive-address="127.0.0.1:$sst" --wsrep-slave-threads=2 \
        "$@" >/dev/null 2>&1 &
    local estado=""
    for _ in $(seq 1 240); do
        estado="$(nodo_estado "$n" || true)"
        [ -z "$estado" ] && estado="$(mariadb --no-defaults -S "$dir/mysqld.sock" -uroot -N -B \
            -e "show status like 'wsrep_local_state_comment'" 2>/dev/null | cut -f2 || true)"
        [ "$estado" = Synced ] && break
        sleep 0.5
    done
    [ "$estado" = Synced ] || { log "Galera node $n did not reach Synced"; tail -30 "$dir/error.log" >&2; exit 1; }
}

nodo_stop() { # N [KILL]
    local pid; pid="$(nodo_dir "$1")/mysqld.pid"
    [ -f "$pid" ] || return 0
    local p; p="$(cat "$pid")"
    if kill -0 "$p" 2>/dev/null; then
        log "stopping Galera node $1"
        kill ${2:+-9} "$p" 2>/dev/null || true
        for _ in $(seq 1 120); do kill -0 "$p" 2>/dev/null || break; sleep 0.5; done
        kill -9 "$p" 2>/dev/null || true
    fi
    rm -f "$pid"
}

cluster_string() { # DATABASE
    echo "driver={MySQL ODBC 3.51 Driver};server=127.0.0.1:$(nodo_port 1),127.0.0.1:$(nodo_port 2),127.0.0.1:$(nodo_port 3);port=3306 ;uid=$CENTRAL_USER;pwd=$CENTRAL_PWD;${1:+database=$1;}"
}

cluster_start() {
    local inicio=$SECONDS vivos=0
    for n in 1 2 3; do nodo_vivo "$n" && vivos=$((vivos + 1)); done
    if [ "$vivos" -eq 0 ]; then
        local nuevo=0
        [ -d "$(nodo_dir 1)/data/mysql" ] || nuevo=1
        nodo_start 1 --wsrep-new-cluster
        if [ "$nuevo" -eq 1 ]; then
            mariadb --no-defaults -S "$(nodo_dir 1)/mysqld.sock" -uroot <<SQL
ALTER USER 'root'@'localhost' IDENTIFIED BY '$ROOT_PWD';
CREATE USER IF NOT EXISTS '$CENTRAL_USER'@'localhost' IDENTIFIED BY '$CENTRAL_PWD';
CREATE USER IF NOT EXISTS '$CENTRAL_USER'@'127.0.0.1' IDENTIFIED BY '$CENTRAL_PWD';
GRANT ALL PRIVILEGES ON *.* TO '$CENTRAL_USER'@'localhost';
GRANT ALL PRIVILEGES ON *.* TO '$CENTRAL_USER'@'127.0.0.1';
SQL
        fi
    fi
    for n in 1 2 3; do nodo_vivo "$n" || nodo_start "$n"; done
    local tamano
    tamano="$(nodo_sql 1 -e "show status like 'wsrep_cluster_size'" | cut -f2)"
    log "Galera cluster of $tamano nodes up in $((SECONDS - inicio)) s"
    if ! nodo_sql 1 -e "select 1 from $CLUSTER_DB.configuracion limit 1" >/dev/null 2>&1; then
        log "loading the schema and the demo day through node 1"
        "$BUILD/tools/corvalo-backoffice" --central "$(central_string "$(nodo_port 1)" "$CLUSTER_DB")" create-schema
        "$BUILD/tools/corvalo-backoffice" --central "$(central_string "$(nodo_port 1)" "$CLUSTER_DB")" seed-demo >/dev/null
    fi
    for n in 1 2 3; do
        log "node $n (127.0.0.1:$(nodo_port "$n")): $(nodo_sql "$n" -e "set session wsrep_sync_wait=1; select count(*) from $CLUSTER_DB.carreras") race-card rows"
    done
    log "central: $(cluster_string "$CLUSTER_DB")"
}

cluster_stop() {
    # The first node last: it is then the one marked safe to bootstrap the next start.
    for n in 3 2 1; do nodo_stop "$n"; done
}

case "$cmd" in
test)
    case "$opcion" in ""|--sanitize) ;; *) echo "usage: ./run.sh test [--sanitize]" >&2; exit 2 ;; esac
    install_packages
    build
    db_start test "$TEST_PORT"
    trap 'db_stop test; cluster_stop' EXIT
    cluster_start
    export CORVALO_CLUSTER_SERVER="$(cluster_string)" CORVALO_CLUSTER_DIR="$CLUSTER_DIR"
    export CORVALO_CLUSTER_JOIN="CORVALO_BUILD_DIR='$BUILD' CORVALO_CLUSTER_PORT='$CLUSTER_PORT' '$ROOT/run.sh' cluster join"
    export CORVALO_TEST_SERVER="driver={MySQL ODBC 3.51 Driver};server=127.0.0.1;port=$TEST_PORT ;uid=$CENTRAL_USER;pwd=$CENTRAL_PWD;"
    export CORVALO_TEST_LOCAL="$(local_string test "$TEST_PORT")"
    export CORVALO_FAULT_PORT="$FAULT_PORT"
    export QT_QPA_PLATFORM=offscreen
    set +e
    ctest --test-dir "$BUILD" --output-on-failure -j "$(nproc)" --timeout 600
    rc=$?
    set -e
    exit $rc
    ;;
demo)
    case "$opcion" in ""|--fresh) ;; *) echo "usage: ./run.sh demo [--fresh]" >&2; exit 2 ;; esac
    install_packages
    build corvalo corvalo-backoffice
    db_start demo "$DEMO_PORT"
    CENTRAL="$(central_string "$DEMO_PORT" corvalo_demo)"
    LOCAL="$(local_string demo "$DEMO_PORT")"
    if [ "$opcion" = --fresh ] || ! demo_de_hoy; then
        log "loading a new demo day"
        "$BUILD/tools/corvalo-backoffice" --central "$CENTRAL" create-schema --drop
        "$BUILD/tools/corvalo-backoffice" --central "$CENTRAL" seed-demo
        "$BUILD/tools/corvalo-backoffice" --local "$LOCAL" prepare-local
    else
        log "today's demo day is kept (sold and paid tickets included); ./run.sh demo --fresh loads a new one"
    fi
    ip_start
    IP_SERVICES="http://127.0.0.1:$IP_PORT/"
    # Tickets of the demo go to a file, so a sale can be seen without a receipt printer.
    [ -f "$DBDIR/demo/KVR2.bin" ] || printf '"%s",1,1,8\r\n' "$DBDIR/demo/tickets.prn" > "$DBDIR/demo/KVR2.bin"
    log "central: $CENTRAL"
    log "local:   $LOCAL"
    log "public address: $IP_SERVICES (stand-in)"
    log "the private server keeps running; stop it with ./run.sh db-stop"
    log "tickets are written to $DBDIR/demo/tickets.prn (print settings: $DBDIR/demo/KVR2.bin)"
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        exec "$BUILD/app/corvalo" --central "$CENTRAL" --local "$LOCAL" \
            --print-settings "$DBDIR/demo/KVR2.bin" --ip-services "$IP_SERVICES"
    else
        log "no display: start the program with"
        echo "  $BUILD/app/corvalo --central '$CENTRAL' --local '$LOCAL' --print-settings '$DBDIR/demo/KVR2.bin' --ip-services '$IP_SERVICES'"
    fi
    ;;
bench)
    case "$opcion" in ""|load|cluster) ;; *) echo "usage: ./run.sh bench [load|cluster]" >&2; exit 2 ;; esac
    if [ "$opcion" = cluster ]; then
        # The load of fifty workstations spread over the three nodes, then again with the third
        # node killed a third of the way through (it joins again afterwards).
        install_packages
        build corvalo-bench-carga corvalo-backoffice
        cluster_start
        SERVER="$(cluster_string)"
        rc=0
        "$BUILD/bench/corvalo-bench-carga" --server "$SERVER" --spread --prefix cluster_load || rc=1
        "$BUILD/bench/corvalo-bench-carga" --server "$SERVER" --spread --prefix failover_load \
            --kill-pid "$(nodo_dir 3)/mysqld.pid" || rc=1
        rm -f "$(nodo_dir 3)/mysqld.pid"
        cluster_start >/dev/null
        exit $rc
    fi
    install_packages "${BENCH_PACKAGES[@]}"
    build corvalo-bench corvalo-bench-visor corvalo-bench-reportes corvalo-bench-gerencia corvalo-bench-carga
    db_start test "$TEST_PORT"
    trap 'db_stop test' EXIT
    SERVER="driver={MySQL ODBC 3.51 Driver};server=127.0.0.1;port=$TEST_PORT ;uid=$CENTRAL_USER;pwd=$CENTRAL_PWD;"
    if [ "$opcion" = load ]; then
        "$BUILD/bench/corvalo-bench-carga" --server "$SERVER"
        exit $?
    fi
    rc=0
    "$BUILD/bench/corvalo-bench" --server "$SERVER" --relay-port "$RELAY_PORT" || rc=1
    "$BUILD/bench/corvalo-bench-carga" --server "$SERVER" || rc=1
    QT_QPA_PLATFORM=offscreen "$BUILD/bench/corvalo-bench-visor" --server "$SERVER" || rc=1
    "$BUILD/bench/corvalo-bench-reportes" --server "$SERVER" || rc=1
    "$BUILD/bench/corvalo-bench-gerencia" --server "$SERVER" || rc=1
    exit $rc
    ;;
fuzz)
    secs="${opcion:-60}"
    case "$secs" in ''|*[!0-9]*) echo "usage: ./run.sh fuzz [SECONDS]" >&2; exit 2 ;; esac
    install_packages "${FUZZ_PACKAGES[@]}"
    FB="${CORVALO_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
    log "building the fuzz targets in $FB"
    CXX=clang++ cmake -S "$ROOT" -B "$FB" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVALO_FUZZ=ON >/dev/null
    targets=()
    for f in "$ROOT"/fuzz/fuzz_*.cpp; do t="$(basename "$f" .cpp)"; targets+=("$t"); done
    cmake --build "$FB" -j "$(nproc)" $(printf -- '--target %s ' "${targets[@]}")
    # Each target grows its own corpus in the build folder from the seeds kept in fuzz/corpus;
    # the targets run side by side, one a core. A crash leaves its input in $FB/crashes.
    mkdir -p "$FB/crashes"
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
    run_one() {
        local t="$1" name="${1#fuzz_}"
        mkdir -p "$FB/corpus/$name"
        if "$FB/fuzz/$t" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$FB/crashes/$name-" "$FB/corpus/$name" "$ROOT/fuzz/corpus/$name" \
            >"$FB/$name.log" 2>&1; then
            log "$name: clean ($(grep -o 'stat::number_of_executed_units: *[0-9]*' "$FB/$name.log" | grep -o '[0-9]*$') runs)"
        else
            log "$name: FAILED"; tail -40 "$FB/$name.log" >&2; return 1
        fi
    }
    rc=0
    pids=()
    for t in "${targets[@]}"; do
        run_one "$t" & pids+=($!)
        if [ ${#pids[@]} -ge "$(nproc)" ]; then wait "${pids[0]}" || rc=1; pids=("${pids[@]:1}"); fi
    done
    for p in "${pids[@]}"; do wait "$p" || rc=1; done
    exit $rc
    ;;
db-start) db_start "${2:-demo}" "$([ "${2:-demo}" = test ] && echo "$TEST_PORT" || echo "$DEMO_PORT")" ;;
db-stop)
    [ "${2:-demo}" = demo ] && ip_stop
    db_stop "${2:-demo}"
    ;;
package)
    install_packages
    build corvalo corvalo-backoffice
    (cd "$BUILD" && cpack -G DEB >/dev/null)
    ls "$BUILD"/corvalo_*.deb
    ;;
screenshots)
    exec "$ROOT/tools/capturas.sh"
    ;;
build) install_packages; build ;;
cluster)
    case "$opcion" in
    start)
        install_packages
        build corvalo-backoffice
        cluster_start
        ;;
    join) cluster_start ;; # the nodes not running join the others (no install, no build)
    stop) cluster_stop ;;
    status)
        for n in 1 2 3; do
            if nodo_vivo "$n"; then echo "node $n 127.0.0.1:$(nodo_port "$n") $(nodo_estado "$n")"; else echo "node $n down"; fi
        done
        ;;
    kill) nodo_stop "${3:?node}" KILL ;; # SIGKILL one node (tests, benchmark)
    *) echo "usage: ./run.sh cluster start|stop|status" >&2; exit 2 ;;
    esac
    ;;
*)
    echo "usage: ./run.sh demo [--fresh] | test [--sanitize] | bench [load|cluster] | fuzz [SECONDS] | build | package | screenshots | db-start [demo|test] | db-stop [demo|test] | cluster start|stop|status" >&2
    exit 2
    ;;
esac
