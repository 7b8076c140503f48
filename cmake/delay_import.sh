#!/bin/sh
# delay_import.sh NM DLLTOOL IMPORT-LIB DLL OUT: a delay-load import library for DLL with the
# exports of IMPORT-LIB. The DLL is then loaded on the first call, by the search order the
# program has set by then, instead of by the loader before the program runs.
set -e
nm=$1 dlltool=$2 lib=$3 dll=$4 out=$5
def="$out.def"
{ echo "LIBRARY $dll"; echo "EXPORTS"; "$nm" "$lib" | sed -n 's/^.* I __imp__//p' | sort -u; } > "$def"
"$dlltool" -k --input-def "$def" --dllname "$dll" --output-delaylib "$out"
