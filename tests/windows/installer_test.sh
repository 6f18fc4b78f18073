#!/usr/bin/env bash
# The Windows installer under Wine, in a Wine prefix of its own: a silent install without
# vorlanex-calc, then one with it (/COMMAND) over it; the installed vorlanex-calc.exe --version says
# what the Linux command says; the silent uninstall leaves no file, no Start menu entry and no
# uninstall key behind.
#   installer_test.sh SETUP.EXE LINUX_VORLANEX_CALC WINE_PREFIX
set -euo pipefail
installer=$1
linux_calc=$2
export WINEPREFIX=$3 WINEDEBUG=-all
if [ ! -f "$installer" ]; then
    echo "skipped: $installer is missing (the preset windows makes it when NSIS is installed)"
    exit 77
fi
unset DISPLAY  # the installer shows nothing in silent mode; no display needed

fail() { echo "FAIL: $*"; exit 1; }
# A Windows folder of the prefix as a path on this machine.
unix_path() { winepath -u "$(wine cmd /c echo "$1" | tr -d '\r"')" 2>/dev/null; }
run_and_wait() { wine "$@"; wineserver -w; }

key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlanex'
has_key() { wine reg query "$key" >/dev/null 2>&1; }

# A Wine folder made by another Wine (before its 32-bit part was installed, say) may start no
# program: it is made again.
if ! wine cmd /c exit >/dev/null 2>&1; then
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    wine cmd /c exit >/dev/null 2>&1 || fail "Wine cannot start a program"
fi
wineserver -w
folder=$(unix_path '%LOCALAPPDATA%\Programs\Vorlanex')
menu=$(unix_path '%APPDATA%\Microsoft\Windows\Start Menu\Programs\Vorlanex')
[ -n "$folder" ] && [ -n "$menu" ] || fail "the prefix's folders could not be read"
# What a run stopped half-way may have left, taken away first.
rm -rf "$folder" "$menu"
wine reg delete "$key" /f >/dev/null 2>&1 || true

# The window alone: vorlanex-calc is installed only on request.
run_and_wait "$installer" /S
for file in vorlanex.exe LICENSE.txt Odinstalovat.exe; do
    [ -f "$folder/$file" ] || fail "$file is not installed"
done
[ ! -e "$folder/vorlanex-calc.exe" ] || fail "vorlanex-calc.exe was installed without being asked for"
[ -f "$menu/Vorlanex.lnk" ] && [ -f "$menu/Odinstalovat Vorlanex.lnk" ] || fail "the Start menu entries are missing"
has_key || fail "the uninstall key is missing"

run_and_wait "$installer" /S /COMMAND
windows_version=$(wine "$folder/vorlanex-calc.exe" --version | tr -d '\r')
linux_version=$("$linux_calc" --version)
[ "$windows_version" = "$linux_version" ] ||
    fail "the installed vorlanex-calc.exe --version says '$windows_version', not '$linux_version'"

# The uninstaller runs from a copy of itself in the temporary folder; wineserver -w waits for it.
run_and_wait "$folder/Odinstalovat.exe" /S
[ ! -e "$folder" ] || fail "left behind: $(find "$folder" | tr '\n' ' ')"
[ ! -e "$menu" ] || fail "the Start menu folder is left behind"
! has_key || fail "the uninstall key is left behind"
echo "installed, ran '$windows_version', uninstalled: nothing left"
