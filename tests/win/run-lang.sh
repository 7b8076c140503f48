#!/usr/bin/env bash
# mvlang.exe under Wine on the shipped dist/language.xml and on the Chinese file:
# the encoding line, all 117 keys and the 113 added since with texts, Chinese texts arriving as
# UTF-8; then native mvlang and mvlang.exe on every case of tools/mvlang/cases.sh.
#   run-lang.sh ROOT
set -uo pipefail
source "$(dirname "$0")/harness.sh"
suite lang "$1"
exe="$root/build/windows/mvlang.exe"
tmp=$(mktemp -d)
at_exit 'rm -rf "$tmp"'

run_lang() {  # run_lang FILE OUT
  wine "$exe" "$(winepath -w "$1")" >"$2" 2>"$2.err"
}

for name in en zh; do
  case $name in
    en) file="$root/dist/language.xml" ;;
    zh) file="$root/lang/zh-CN/language.xml" ;;
  esac
  out="$tmp/$name.out"
  run_lang "$file" "$out"; rc=$?
  sed -i 's/\r$//' "$out"
  check "$name exit code" test $rc -eq 0
  check "$name encoding line" grep -qE '^UTF-8 (BOM \+ )?length [0-9]+ to [0-9]+ wide chars $' <(head -1 "$out")
  check "$name key lines" test "$(tail -n +2 "$out" | grep -cE '^(tc|btn)_[A-Za-z0-9_]+=.')" -eq $((117 + 113))
done
check "dist file is the English one" cmp -s "$root/dist/language.xml" "$root/lang/en/language.xml"
check "English title" grep -qxF 'tc_mouse_title=Morvi Corvel Config' "$tmp/en.out"
check "Chinese text as UTF-8" grep -qxF 'tc_access_exit=退出(&X)' "$tmp/zh.out"
check "Chinese title as UTF-8" grep -qxF 'tc_mouse_title=Morvi Corvel 设置' "$tmp/zh.out"

# The same keys in the same order in both files.
check "same key order" cmp -s <(cut -d= -f1 "$tmp/en.out" | tail -n +2) <(cut -d= -f1 "$tmp/zh.out" | tail -n +2)

# A missing file gives exit code 2 and the system's message.
run_lang "$tmp/none.xml" "$tmp/none.out"; rc=$?
check "missing exit code" test $rc -eq 2
check "missing no output" test ! -s "$tmp/none.out"

# The native stand-in speaks for the program: mvlang and mvlang.exe print the same lines and
# end with the same code for every language-file case of the tests.
native="$root/build/native/mvlang"
if [[ ! -x "$native" ]]; then
  check "native mvlang built (cmake --build --preset native)" false
else
  bash "$root/tools/mvlang/cases.sh" "$root" "$tmp/cases"
  for file in "$tmp"/cases/*.xml "$tmp/cases/missing.xml"; do
    name=$(basename "$file" .xml)
    "$native" "$file" >"$tmp/$name.native" 2>/dev/null; native_rc=$?
    run_lang "$file" "$tmp/$name.wine"; wine_rc=$?
    check "$name: same output natively and under Wine" cmp -s "$tmp/$name.native" "$tmp/$name.wine"
    check "$name: same exit code ($native_rc, $wine_rc)" test "$native_rc" -eq "$wine_rc"
    if ! cmp -s "$tmp/$name.native" "$tmp/$name.wine"; then
      diff <(cat -v "$tmp/$name.native") <(cat -v "$tmp/$name.wine") | head -6
    fi
  done
fi

finish
