#!/usr/bin/env bash
# mvlang on the shipped language files, on broken files and on a missing file (the cases of
# cases.sh, which tests/win/run-lang.sh also gives mvlang.exe under Wine).
# Usage: mvlang_test.sh MVLANG REPO_ROOT
set -uo pipefail
mvlang=$1
root=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cases=$tmp/cases
bash "$root/tools/mvlang/cases.sh" "$root" "$cases" || { echo "cannot write the cases"; exit 1; }
passed=0 failed=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
keys=230  # the catalogue's 117 and the 113 added since

# The shipped files: the encoding line, then every key with a text.
for lang in en zh-CN; do
  out="$tmp/$lang.out"
  "$mvlang" "$cases/$lang.xml" >"$out"; rc=$?
  check "$lang exit code" test $rc -eq 0
  check "$lang line count" test "$(wc -l <"$out")" -eq $((keys + 1))
  check "$lang encoding line" grep -qE '^UTF-8 (BOM \+ )?length [0-9]+ ' <(head -1 "$out")
  check "$lang no empty text" test "$(tail -n +2 "$out" | grep -c '^[a-zA-Z_]*=$')" -eq 0
  check "$lang keys in order" test "$(tail -n +2 "$out" | head -1 | cut -d= -f1)" = tc_mouse_title
  check "$lang last original key" test "$(sed -n 118p "$out" | cut -d= -f1)" = tc_scrollrt
  check "$lang last key" test "$(tail -1 "$out" | cut -d= -f1)" = tc_access_config
done
check "zh-CN text survives as UTF-8" grep -q '^tc_access_exit=退出(&X)$' "$tmp/zh-CN.out"
check "en title" grep -q '^tc_exit=Exit$' "$tmp/en.out"
check "en access key" grep -q '^tc_access_exit=E&xit$' "$tmp/en.out"

# A broken file: mismatched tags, escapes of line breaks, tabs and backslashes,
# entities and CDATA; the recognised keys still come through.
out="$tmp/broken.out"
"$mvlang" "$cases/broken.xml" >"$out"; rc=$?
check "broken exit code" test $rc -eq 0
check "broken line count" test "$(wc -l <"$out")" -eq $((keys + 1))
check "broken message" grep -q "^UTF-8 length [0-9]* to [0-9]* wide chars  End tag 'tc_cut' at offset" <(head -1 "$out")
check "escapes" grep -qxF 'tc_exit=a\\b\tc\r\nd' "$out"
check "entity" grep -qxF 'tc_config=A & B' "$out"
check "cdata" grep -qxF 'tc_copy=x&amp;y' "$out"
check "missing key is empty" grep -qxF 'tc_lock=' "$out"
check "unclosed keeps later keys" grep -qxF 'tc_run=R' "$out"

# UTF-16 with mark gives the same texts as the UTF-8 file; its length counts 16-bit units.
"$mvlang" "$cases/utf16be.xml" >"$tmp/be.out"
units=$(($(iconv -f UTF-8 -t UTF-16BE "$root/lang/zh-CN/language.xml" | wc -c) / 2))
check "utf-16be encoding line" grep -qx "UTF-16BE BOM + length $units endian swap " <(head -1 "$tmp/be.out")
check "utf-16be same texts" cmp -s <(tail -n +2 "$tmp/be.out") <(tail -n +2 "$tmp/zh-CN.out")
"$mvlang" "$cases/utf16le.xml" >"$tmp/le.out"
check "utf-16le same texts" cmp -s <(tail -n +2 "$tmp/le.out") <(tail -n +2 "$tmp/en.out")
"$mvlang" "$cases/utf16le-odd.xml" >"$tmp/odd.out"
check "utf-16le odd byte" grep -q '^UTF-16LE BOM + length 4  ' <(head -1 "$tmp/odd.out")

# A byte file declaring a UTF-16 name is read in the ANSI code page (1252), as on Windows.
for name in utf-16 unicode unicodeFFFE; do
  "$mvlang" "$cases/declared-$name.xml" >"$tmp/declared.out"
  check "declared $name line" grep -qE "^$name length [0-9]+ to [0-9]+ wide chars " <(head -1 "$tmp/declared.out")
  check "declared $name in 1252" grep -qxF "tc_exit=café €$(printf '\xC2\x81') Ÿ" "$tmp/declared.out"
done
"$mvlang" "$cases/ansi.xml" >"$tmp/ansi.out"
check "ansi detection" grep -qE '^ANSI length [0-9]+ \(used UTF-8 detection\) to [0-9]+ wide chars ' <(head -1 "$tmp/ansi.out")
check "ansi undefined bytes" grep -qxF "tc_exit=Café €$(printf '\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D')™$(printf '\xC2\xA0')ÿ" "$tmp/ansi.out"
"$mvlang" "$cases/declared-1251.xml" >"$tmp/1251.out"
check "windows-1251" grep -qxF 'tc_exit=Выход' "$tmp/1251.out"

# An empty file and garbage bytes still give every key (empty) and exit 0.
"$mvlang" "$cases/empty.xml" >"$tmp/empty.out"; rc=$?
check "empty exit code" test $rc -eq 0
check "empty message" grep -qxF 'ANSI 0 length  Empty document' <(head -1 "$tmp/empty.out")
check "empty texts" test "$(grep -c '=$' "$tmp/empty.out")" -eq $keys
"$mvlang" "$cases/noise.xml" >"$tmp/noise.out"; rc=$?
check "noise exit code" test $rc -eq 0
check "noise line count" test "$(wc -l <"$tmp/noise.out")" -eq $((keys + 1))

# A missing file: exit 2, nothing on standard output, the reason on standard error.
"$mvlang" "$tmp/none.xml" >"$tmp/none.out" 2>"$tmp/none.err"; rc=$?
check "missing exit code" test $rc -eq 2
check "missing no output" test ! -s "$tmp/none.out"
check "missing reason" grep -q 'No such file' "$tmp/none.err"
"$mvlang" >/dev/null 2>&1; rc=$?
check "no argument" test $rc -eq 2

echo "mvlang: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
