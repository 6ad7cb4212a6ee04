#!/usr/bin/env bash
# What a host integrator receives, checked as they get it: the package is unpacked into an empty folder, the
# sample host is built from the unpacked files alone and run against the unpacked DLL, the C host and a host
# in the Microsoft C++ ABI drive the released DLL, and the PDB must match the DLL and know the interface
# object's operations.
#   check_package.sh ZIP FOREIGN_HOST_EXE
set -euo pipefail

zip=$1
foreign_host=$2
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
[ -f "$zip" ] || fail "no package at $zip (./pivora.sh package makes it)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip")
name=$(basename "$zip" .zip)
dir=$work/$name
[ -d "$dir" ] || fail "the package has no top folder $name"

for f in Pivora.dll Pivora.pdb PivoraHost.exe Lang/Chs/Pivora.ini include/PivoraInterface.h include/PivoraHost.h \
    include/PivoraRecords.h IntegratorGuide.md sample/SampleHost.cpp; do
    [ -f "$dir/$f" ] || fail "the package lacks $f"
done
echo "contents: $(cd "$dir" && find . -type f | sort | tr '\n' ' ')"

# The package's name carries the version of the DLL's VERSIONINFO.
version=${name#Pivora-}
version=${version%-win64}
grep -qx "$version" <<<"$(strings -el "$dir/Pivora.dll")" || fail "Pivora.dll's version resource does not say $version"

# Only Windows system DLLs: no runtime of the compilers travels with the module.
imports=$(x86_64-w64-mingw32-objdump -p "$dir/Pivora.dll" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
for dll in $imports; do
    case "$dll" in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | gdiplus.dll | shlwapi.dll | msvcrt.dll | advapi32.dll | \
        shell32.dll | ole32.dll | oleaut32.dll | uxtheme.dll | api-ms-win-*) ;;
    *) fail "Pivora.dll imports $dll" ;;
    esac
done
echo "imports: $(echo $imports)"
# The common controls are loaded by the first dialog inside the module's activation context, never at load.
grep -qx comctl32.dll <<<"$imports" && fail "Pivora.dll imports comctl32.dll at load: a function is missing from cmake/comctl32-delay.def"

# Symbols: the DLL's debug directory names Pivora.pdb with the PDB's own GUID and age.
debug=$(llvm-readobj-14 --coff-debug-directory "$dir/Pivora.dll")
dll_guid=$(echo "$debug" | sed -n 's/.*PDBGUID: (\(.*\))/\1/p' | tr -d ' ')
dll_age=$(echo "$debug" | sed -n 's/.*PDBAge: //p')
dll_pdb=$(echo "$debug" | sed -n 's/.*PDBFileName: //p')
summary=$(llvm-pdbutil-14 dump --summary "$dir/Pivora.pdb")
pdb_guid=$(echo "$summary" | sed -n 's/.*GUID: {\(.*\)}/\1/p' | tr -d '-')
pdb_age=$(echo "$summary" | sed -n 's/^ *Age: //p')
# The PDB prints the GUID as a GUID: its first three fields are the bytes of the DLL's in reverse order.
b=$dll_guid
as_guid="${b:6:2}${b:4:2}${b:2:2}${b:0:2}${b:10:2}${b:8:2}${b:14:2}${b:12:2}${b:16:16}"
[ -n "$dll_guid" ] || fail "Pivora.dll has no CodeView debug directory"
[ "$as_guid" = "$pdb_guid" ] || fail "PDB GUID $pdb_guid does not match the DLL's $as_guid"
[ "$dll_age" = "$pdb_age" ] || fail "PDB age $pdb_age does not match the DLL's $dll_age"
[ "$dll_pdb" = "Pivora.pdb" ] || fail "the DLL names its PDB $dll_pdb"
symbols=$(llvm-pdbutil-14 dump --symbols "$dir/Pivora.pdb")
for op in SetLanguage SetHostInterface ShowCutInkSetting ShowDetailVersionInfo ConfirmPrintMode ConfirmPrint \
    ShowCustomEclosion ShowSwitchInkOrder ShowSupplyInkTimeout ShowMultiStepPopup; do
    grep -q "S_GPROC32 .*\`CPivoraProc::$op\`" <<<"$symbols" || fail "the PDB does not know CPivoraProc::$op"
done
echo "symbols: Pivora.pdb matches Pivora.dll (GUID $pdb_guid, age $pdb_age) and knows CPivoraProc's operations"

# The sample host, from the unpacked files only.
x86_64-w64-mingw32-g++-posix -std=c++17 -Wall -Wextra -Werror -I "$dir/include" "$dir/sample/SampleHost.cpp" \
    -static -o "$dir/SampleHost.exe"
(cd "$dir" && wine SampleHost.exe) || fail "the sample host did not get the expected results"

# The C host that calls through a hand-made MSVC table, against the released DLL.
cp "$foreign_host" "$dir/"
(cd "$dir" && wine "$(basename "$foreign_host")") || fail "the C host failed against the released DLL"

# A C++ host in the Microsoft ABI, from the unpacked headers: clang for the MSVC target, no runtime library
# (the two standard headers the SDK includes are mapped to the compiler's own freestanding ones), lld-link
# against the mingw-w64 import libraries.
mkdir -p "$work/msvc"
printf '#pragma once\n#include <stdint.h>\n' >"$work/msvc/cstdint"
printf '#pragma once\n#include <stddef.h>\n' >"$work/msvc/cstddef"
clang++-14 --target=x86_64-pc-windows-msvc -std=c++17 -O1 -ffreestanding -nostdlibinc -isystem "$work/msvc" \
    -fno-exceptions -fno-rtti -Wall -Wextra -Werror -I "$dir/include" -c "$(dirname "$0")/msvc_host.cpp" \
    -o "$work/msvc/msvc_host.obj"
mingw_lib=/usr/x86_64-w64-mingw32/lib
lld-link-14 /nologo /entry:HostEntry /subsystem:console /nodefaultlib /out:"$dir/MsvcHost.exe" \
    "$work/msvc/msvc_host.obj" "$mingw_lib/libkernel32.a" "$mingw_lib/libuser32.a"
(cd "$dir" && wine MsvcHost.exe) || fail "the MSVC-ABI host failed against the released DLL"
echo "package $name: passed"
