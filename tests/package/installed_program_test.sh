#!/usr/bin/env bash
# An installed program, run by an unprivileged user with a fresh home, writes
# only in that user's folders: the build is installed into a staging folder
# that is then made read-only, and the three programs are run there as user
# nobody (as the developer himself when not root). Then root runs them too: an
# installation for the whole system keeps even root's files out of it.
#
#   installed_program_test.sh BUILD_DIR
set -euo pipefail

build=$1
work=$(mktemp -d)
radio_pid=
cleanup() {
  [ -n "$radio_pid" ] && kill "$radio_pid" 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
chmod -R a-w "$stage/usr"
bin=$stage/usr/bin
snapshot() { (cd "$stage" && find . -printf '%p %y %s %m %T@\n' | sort); }
snapshot >"$work/stage.before"

# The command that runs a program of the staging folder as `user`, with a home
# of its own and nothing else of this environment, in the array `command`.
command=()
user_command() {
  local user=$1 home=$2
  shift 2
  command=()
  [ "$user" != self ] && [ "$user" != root ] &&
    command=(setpriv --reuid="$user" --regid="$(id -gn "$user")" --clear-groups)
  command+=(env -i HOME="$home" XDG_RUNTIME_DIR="$home/run" PATH=/usr/bin:/bin LANG=C.UTF-8
    QT_QPA_PLATFORM=offscreen "$@")
}
as_user() {
  user_command "$@"
  (cd "$2" && exec "${command[@]}")
}

new_home() {
  local user=$1 home
  home=$work/home-$user
  mkdir -p "$home/run"
  chmod 700 "$home/run"
  [ "$user" != self ] && [ "$user" != root ] && chown -R "$user:$(id -gn "$user")" "$home"
  echo "$home"
}

# The desktop program: started, told to end as soon as it keeps the request
# for its event loop (SIGTERM, bit 14, blocked or caught), ends cleanly.
run_desktop() {
  local user=$1 home=$2
  user_command "$user" "$home" "$bin/cps530"
  cd "$home"
  "${command[@]}" &
  local pid=$! mask
  cd "$work"
  for _ in $(seq 300); do
    [[ $(readlink "/proc/$pid/exe" 2>/dev/null) == */cps530 ]] || { sleep 0.1; continue; }
    mask=$(awk '/^Sig(Blk|Cgt):/ { printf "%s ", $2 }' "/proc/$pid/status" 2>/dev/null || true)
    read -r blocked caught <<<"$mask"
    [ -n "${caught:-}" ] && ((((16#$blocked | 16#$caught) >> 14) & 1)) && break
    sleep 0.1
  done
  kill -TERM "$pid"
  wait "$pid" || fail "cps530 run by $user ended with status $?"
}

check_user() {
  local user=$1
  local home
  home=$(new_home "$user")
  local config=$home/.config/cps530

  local version
  version=$(as_user "$user" "$home" "$bin/cps530-cli" --version)
  [[ $version == "cps530-cli "* ]] || fail "cps530-cli --version said: $version"
  for program in cps530 cps530-radiosim; do
    [[ $(as_user "$user" "$home" "$bin/$program" --version) == "$program "* ]] ||
      fail "$program --version"
  done

  as_user "$user" "$home" "$bin/cps530-cli" new -o "$home/radio.dat" >/dev/null
  as_user "$user" "$home" "$bin/cps530-cli" set "$home/radio.dat" options.squelch 7 >/dev/null
  [ "$(as_user "$user" "$home" "$bin/cps530-cli" get "$home/radio.dat" options.squelch)" = \
    "options.squelch 7" ] || fail "the setting was not kept"

  # A read from the virtual radio, which numbers the port in the user's port map.
  user_command "$user" "$home" "$bin/cps530-radiosim" --dat "$home/radio.dat" --once \
    --link "$home/COM1"
  "${command[@]}" >/dev/null 2>&1 &
  radio_pid=$!
  for _ in $(seq 100); do [ -e "$home/COM1" ] && break; sleep 0.1; done
  as_user "$user" "$home" "$bin/cps530-cli" read --port "$home/COM1" -o "$home/read.dat" \
    --yes 2>/dev/null || fail "reading the virtual radio as $user"
  wait "$radio_pid" || true
  radio_pid=

  # First start: the first-run dialog, from the shipped setup.
  run_desktop "$user" "$home"
  grep -q '^IsFirstRun=1' "$config/mysetup.ini" || fail "no first run for a new user"
  # Later starts: the main window, whose end writes the link settings.
  sed -i 's/^IsFirstRun=.*/IsFirstRun=0/' "$config/mysetup.ini"
  run_desktop "$user" "$home"
  [ "$(stat -c %s "$config/V200/Setting.ini")" = 4 ] || fail "no Setting.ini in $config/V200"
  grep -q '^IsFirstRun=0' "$config/mysetup.ini" || fail "the user's setup was replaced"

  snapshot | diff "$work/stage.before" - >&2 || fail "$user changed the installed files"
  echo "$user: only $home was written"
}

if [ "$(id -u)" -eq 0 ]; then
  touch "$work/started"
  check_user nobody
  # Everything nobody made, anywhere on this file system, is in his home.
  stray=$(find / -xdev \( -path /proc -o -path /sys -o -path /dev \) -prune -o \
    -user nobody -newer "$work/started" -print 2>/dev/null | grep -v "^$work/home-nobody" || true)
  [ -z "$stray" ] || fail "nobody wrote outside his home: $stray"
  check_user root
else
  check_user self
fi
echo "1 passed, 0 failed"
