#!/usr/bin/env bash
# scripts/install-deps against stand-ins for the system's commands (dpkg-query,
# locale, id, sudo, apt-get, localedef, sed), which log what they were asked to
# do: as root it installs and generates itself, as a user it goes through sudo,
# and with no sudo it names what is missing and the command to run as root,
# changes nothing and fails. With all present it does nothing.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
script="$here/scripts/install-deps"
work=$(mktemp -d "${TMPDIR:-/tmp}/tarvel_deps_XXXXXX")
trap 'rm -rf "$work"' EXIT
bash=$(command -v bash)

fail() {
  echo "FAILED: $*"
  exit 1
}

# Stand-ins. STUB_UID, STUB_MISSING (packages not installed) and STUB_LOCALES
# say how the system looks; every command that would change it logs its
# arguments to $work/log.
stubs="$work/bin"
mkdir -p "$stubs"
for tool in grep dirname; do ln -s "$(command -v "$tool")" "$stubs/$tool"; done
stub() {
  printf '#!%s\n%s\n' "$bash" "$2" >"$stubs/$1"
  chmod +x "$stubs/$1"
}
stub id '[ "$1" = -u ] && echo "$STUB_UID"'
stub dpkg-query 'shift 2
for package; do
  [[ " $STUB_MISSING " == *" $package "* ]] || echo "$package install ok installed"
done'
stub locale '[ "$1" = -a ] && printf "%s\n" C C.utf8 POSIX $STUB_LOCALES'
for tool in apt-get localedef sed; do stub "$tool" "echo \"$tool \$*\" >>\"$work/log\""; done
sudo_stub='echo "sudo $*" >>"'"$work"'/log"
"$@"'

# name | uid | sudo (yes/no) | missing packages | locales | status | log | output lines
cases=(
  "all present, user without sudo|1000|no||de_DE.utf8|0||"
  "all present, root|0|no||de_DE.utf8|0||"
  "root installs and generates|0|no|cmake locales||0|apt-get update -q;apt-get install -y -q --no-install-recommends cmake locales;sed -i s/^# *\(de_DE\.UTF-8 UTF-8\)/\1/ /etc/locale.gen;localedef -i de_DE -f UTF-8 de_DE.UTF-8|Installing: cmake locales;Generating the locale de_DE.UTF-8"
  "user with sudo|1000|yes|xvfb|de_DE.utf8|0|sudo apt-get update -q;apt-get update -q;sudo apt-get install -y -q --no-install-recommends xvfb;apt-get install -y -q --no-install-recommends xvfb|Installing: xvfb"
  "user without sudo, packages and locale missing|1000|no|cmake xvfb||1||Missing Debian packages: cmake xvfb;Missing locale: de_DE.UTF-8;Installing them needs root, and there is no sudo. Run this as root (su -), then again:;  bash $here/scripts/install-deps"
  "user without sudo, locale missing|1000|no|||1||Missing locale: de_DE.UTF-8;Installing them needs root, and there is no sudo. Run this as root (su -), then again:;  bash $here/scripts/install-deps"
)
for row in "${cases[@]}"; do
  IFS='|' read -r name uid sudo missing locales want_status want_log want_out <<<"$row"
  rm -f "$stubs/sudo" "$work/log"
  touch "$work/log"
  [ "$sudo" = no ] || stub sudo "$sudo_stub"
  status=0
  out=$(PATH="$stubs" STUB_UID="$uid" STUB_MISSING="$missing" STUB_LOCALES="$locales" "$bash" "$script" 2>&1) ||
    status=$?
  [ "$status" = "$want_status" ] || fail "$name: status $status, not $want_status; output: $out"
  log=$(paste -sd';' "$work/log")
  [ "$log" = "$want_log" ] || fail "$name: did [$log], not [$want_log]"
  [ "$(paste -sd';' <<<"$out")" = "$want_out" ] || fail "$name: said [$out], not [$want_out]"
done
echo "install-deps: installs as root or through sudo; without either names what is missing and fails"
