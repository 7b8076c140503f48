#!/usr/bin/env bash
# The packages: the zip holds dist/, and the installer installs silently in either language,
# replaces a running copy, and uninstalls cleanly while the program runs.
#   run-installer.sh ROOT
set -uo pipefail
source "$(dirname "$0")/harness.sh"
suite installer "$1"
check "scripts/package --no-build" quiet "$root/scripts/package" --no-build || finish
version=$(sed -n 's/^#define MV_VERSION_TEXT "\(.*\)"$/\1/p' "$root/build/windows/res/version.h")
zip=$root/build/package/MorviCorvelConfig-$version.zip
setup=$root/build/package/MorviCorvelConfig-$version-setup.exe

check "the zip holds exactly dist/" python3 "$root/tests/win/package_files.py" same "$zip" "$root/dist" "MorviCorvelConfig-$version"

unix() { winepath -u "$1" 2>/dev/null; }
default_dir=$(unix 'C:\Program Files (x86)\Morvi\Morvi Corvel Config')
[[ -d "$(unix 'C:\Program Files (x86)')" ]] || default_dir=$(unix 'C:\Program Files\Morvi\Morvi Corvel Config')
shortcut() { find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Morvi Corvel Config.lnk' | grep -q .; }
uninstall_key() { wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\MorviCorvelConfig' /reg:32 >/dev/null 2>&1; }
installed_in() {  # installed_in DIR LANG
  [[ -f "$1/MorviCorvelConfig.exe" && -f "$1/uninstall.exe" ]] && cmp -s "$1/MorviCorvelConfig.exe" "$root/dist/MorviCorvelConfig.exe" &&
    cmp -s "$1/language.xml" "$root/lang/$2/language.xml" &&
    diff -r -q "$1/skins" "$root/dist/skins"
}
runs_from() { wine "$1/MorviCorvelConfig.exe" >/dev/null 2>&1 & program=$!; sleep 4; kill -0 $program 2>/dev/null; }
ended_within() {  # ended_within SECONDS: the program started last has exited
  for _ in $(seq $((10 * $1))); do kill -0 $program 2>/dev/null || return 0; sleep 0.1; done
  # Ended for good, so that it holds no file of the install folder for the checks after this.
  end_pids $program; return 1
}
gone_within() { for _ in $(seq $((10 * $2))); do [[ -e "$1" ]] || return 0; sleep 0.1; done; return 1; }

check "an unknown language is refused" not quiet wine "$setup" /S /LANG=fr
check "nothing installed after the refusal" not test -e "$default_dir"

check "silent install in Chinese" quiet wine "$setup" /S /LANG=zh-CN
check "program, Chinese language.xml and skins in Program Files" installed_in "$default_dir" zh-CN
check "Start-menu entry" shortcut
check "uninstall entry" uninstall_key

check "the Chinese program runs from the install folder" runs_from "$default_dir"
check "silent reinstall in English" quiet wine "$setup" /S /LANG=en
check "the reinstall closed the running program" ended_within 5
check "English language.xml after the reinstall" installed_in "$default_dir" en

wine reg add 'HKLM\Software\Morvi\MVSET' /v Kept /t REG_DWORD /d 1 /f /reg:32 >/dev/null 2>&1
check "the English program runs" runs_from "$default_dir"
check "silent uninstall" quiet wine "$default_dir/uninstall.exe" /S
check "the uninstall closed the running program" ended_within 5
check "the install folder is removed" gone_within "$default_dir" 60
check "the Start-menu entry is removed" not shortcut
check "the uninstall entry is removed" not uninstall_key
check "the settings stay" quiet wine reg query 'HKLM\Software\Morvi\MVSET' /v Kept /reg:32
wine reg delete 'HKLM\Software\Morvi\MVSET' /v Kept /f /reg:32 >/dev/null 2>&1

check "silent install into a chosen folder" quiet wine "$setup" /S '/D=C:\MVTest'
check "the chosen folder holds the English program" installed_in "$(unix 'C:\MVTest')" en
check "silent uninstall from the chosen folder" quiet wine "$(unix 'C:\MVTest')/uninstall.exe" /S
check "the chosen folder is removed" gone_within "$(unix 'C:\MVTest')" 60

finish
