#!/usr/bin/env bash
# Writes the language-file cases of the tests into DIR, one NAME.xml each: the shipped files,
# every encoding path of the loader (marks, declarations, detection, the ANSI code page,
# zero bytes, UTF-32, an HTML meta charset) and broken or odd files. "missing.xml" is left
# out on purpose. Every file is the same on every run.
# Usage: cases.sh REPO_ROOT DIR
set -euo pipefail
root=$1
dir=$2
mkdir -p "$dir"
cd "$dir"

cp "$root/lang/en/language.xml" en.xml
cp "$root/lang/zh-CN/language.xml" zh-CN.xml

# Mismatched tags, escapes of line breaks, tabs and backslashes, entities and CDATA.
printf '<?xml version="1.0" encoding="UTF-8"?>\n<lang><config>\n<tc_exit>a\\b\tc\r\nd</tc_exit>\n<tc_config>A &amp; B</tc_config><tc_copy><![CDATA[x&amp;y]]></tc_copy>\n<tc_cut><b></tc_cut>\n</junk><tc_run>R</tc_run></config></lang>' >broken.xml

# UTF-16 with marks, big- and little-endian, and UTF-8 with a mark.
iconv -f UTF-8 -t UTF-16BE "$root/lang/zh-CN/language.xml" | { printf '\xFE\xFF'; cat; } >utf16be.xml
iconv -f UTF-8 -t UTF-16LE "$root/lang/en/language.xml" | { printf '\xFF\xFE'; cat; } >utf16le.xml
printf '\xFF\xFE<\0r\0>\0x\0' >utf16le-odd.xml && printf 'y' >>utf16le-odd.xml
{ printf '\xEF\xBB\xBF'; cat "$root/lang/zh-CN/language.xml"; } >utf8bom.xml

# Byte files that declare a UTF-16 name: Windows converts no UTF-16 from bytes, so the
# program reads them in the ANSI code page.
for name in utf-16 unicode unicodeFFFE; do
  printf '<?xml version="1.0" encoding="%s"?>\n<lang><config><tc_exit>caf\xE9 \x80\x81 \x9F</tc_exit><tc_config>%s</tc_config></config></lang>\n' \
    "$name" "$name" >"declared-$name.xml"
done

# Declared code pages, an HTML meta charset, UTF-32.
printf '<?xml version="1.0" encoding="windows-1251"?>\n<lang><config><tc_exit>\xC2\xFB\xF5\xEE\xE4</tc_exit></config></lang>\n' >declared-1251.xml
printf '<?xml version="1.0" encoding="gb2312"?>\n<lang><config><tc_exit>\xCD\xCB\xB3\xF6</tc_exit><tc_config>\xC9\xE8\xD6\xC3</tc_config></config></lang>\n' >declared-gb2312.xml
printf '<html><head><meta http-equiv="Content-Type" content="text/html; charset=koi8-r"></head><config><tc_exit>\xF7\xD9\xC8\xCF\xC4</tc_exit></config></html>\n' >meta-koi8r.xml
printf '<?xml version="1.0" encoding="UTF-32"?> ' >utf32.xml
printf '<\0\0\0l\0\0\0>\0\0\0<\0\0\0c\0\0\0o\0\0\0n\0\0\0f\0\0\0i\0\0\0g\0\0\0>\0\0\0<\0\0\0t\0\0\0c\0\0\0_\0\0\0e\0\0\0x\0\0\0i\0\0\0t\0\0\0>\0\0\0\x00\xF6\x01\0A\0\0\0<\0\0\0/\0\0\0t\0\0\0c\0\0\0_\0\0\0e\0\0\0x\0\0\0i\0\0\0t\0\0\0>\0\0\0' >>utf32.xml

# No mark and no declaration: "<" first means UTF-8 even when invalid; otherwise the UTF-8
# check decides between UTF-8 and the ANSI code page.
printf '<lang><config><tc_exit>\xE9\xC3(\xF0\x9F\x98\x80</tc_exit></config></lang>' >angle-invalid.xml
printf ' <lang><config><tc_exit>\xE4\xB8\xAD\xE6\x96\x87</tc_exit></config></lang>' >detected-utf8.xml
printf ' <lang><config><tc_exit>Caf\xE9 \x80\x81\x8D\x8F\x90\x9D\x99\xA0\xFF</tc_exit></config></lang>' >ansi.xml

# Zero bytes anywhere are dropped; a section nested in the section; keys are case-sensitive.
printf '<lang>\0<config><tc_exit>E\0x\0it</tc_exit></config></lang>\0' >nulls.xml
printf '<config><config><tc_exit>inner</tc_exit></config><TC_CONFIG>caps</TC_CONFIG><tc_config> both blanks </tc_config></config>' >nested.xml

: >empty.xml

# Noise: 3000 bytes of a fixed pseudo-random sequence.
noise=""
x=12345
for ((i = 0; i < 3000; ++i)); do
  x=$(((x * 1103515245 + 12345) & 0x7fffffff))
  printf -v byte '\\x%02x' $(((x >> 16) & 255))
  noise+=$byte
done
printf "$noise" >noise.xml
