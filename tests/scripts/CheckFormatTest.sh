#!/usr/bin/env bash
# scripts/check-format on a small repository of its own: it fails on a
# misformatted file and names that file alone, and passes once it is fixed.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
repo=$(mktemp -d "${TMPDIR:-/tmp}/tarvel_format_XXXXXX")
trap 'rm -rf "$repo"' EXIT

cp "$here/.clang-format" "$repo/"
git -C "$repo" init -q
mkdir -p "$repo/sub"
printf 'int Good() { return 1; }\n' >"$repo/good.cpp"
printf 'int  Bad( ){return 1;}\n' >"$repo/sub/bad.h"
git -C "$repo" add .

fail() { echo "FAILED: $*"; exit 1; }
if out=$(bash "$here/scripts/check-format" "$repo"); then fail "a misformatted file passed"; fi
grep -qx '  sub/bad.h' <<<"$out" || fail "sub/bad.h not named: $out"
! grep -q 'good.cpp' <<<"$out" || fail "good.cpp named: $out"

clang-format -i "$repo/sub/bad.h"
out=$(bash "$here/scripts/check-format" "$repo") || fail "a formatted tree failed: $out"
echo "check-format: fails on a misformatted file and names it"
