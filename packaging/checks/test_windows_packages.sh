#!/usr/bin/env bash
# Checks the Windows packages for real, under Wine, as a Windows user would meet them: the
# portable zip is unpacked and run; the installer is started on an English Windows and must speak
# Greek; it is run silently, its program started from where it put it, run again over itself to
# upgrade, and the uninstaller that Apps & features would start is run silently. Before installing
# and after uninstalling, the whole of drive C: and of the registry are compared: the installer
# must add exactly the program's files, one Start-menu shortcut and the uninstall key in the
# 64-bit view, and the uninstaller, with the program run in between, must take away exactly that.
# Then the setup is run page by page as a user runs it, and Finish must start Orvanta. Last, it is
# installed silently once more, over that, into a folder named on its command line.
#
# The release's winget manifest says how: the setup is run with its Silent and InstallLocation
# switches, the uninstall key must be the one its ProductCode names and hold the DisplayName,
# Publisher and DisplayVersion of its Apps & features entry, and the zip's program is the one its
# portable entry names.
#
# Runs inside scripts/wine-session, whose fresh prefix has nothing else installed:
#   scripts/wine-session packaging/checks/test_windows_packages.sh SETUP.exe PORTABLE.zip \
#       dist/winget/Orvanta.Orvanta.installer.yaml
# Windows' paths and registry keys end in a backslash inside single quotes, on purpose.
# shellcheck disable=SC1003
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 SETUP.exe PORTABLE.zip INSTALLER-MANIFEST.yaml" >&2
    exit 2
fi
if [ -z "${WINEPREFIX:-}" ]; then
    echo "$0: runs inside scripts/wine-session" >&2
    exit 2
fi
setup=$(realpath "$1")
zip=$(realpath "$2")
manifest=$(realpath "$3")
source_dir=$(realpath "$(dirname "$0")/../..")

# A field of the manifest that scripts/make-winget wrote: one per line, at the indentation
# given, its value a double-quoted string, which the registry export quotes alike.
manifest_field() {
    sed -n "s/^$1: \(\".*\"\)\$/\1/p" "$manifest"
}
unquoted() {
    sed 's/^"\(.*\)"$/\1/'
}
product_code=$(manifest_field '  ProductCode' | unquoted)
silent_switch=$(manifest_field '    Silent' | unquoted)
location_switch=$(manifest_field '    InstallLocation' | unquoted)
arp_name=$(manifest_field '  - DisplayName')
arp_publisher=$(manifest_field '    Publisher')
arp_version=$(manifest_field '    DisplayVersion')
portable_program=$(manifest_field '  - RelativeFilePath' | unquoted)
for field in product_code silent_switch location_switch arp_name arp_publisher arp_version \
    portable_program; do
    if [ -z "${!field}" ] || [ "$(wc -l <<<"${!field}")" -ne 1 ]; then
        echo "$0: the manifest has not one $field" >&2
        exit 1
    fi
done
[[ "$location_switch" == *'<INSTALLPATH>'* ]] ||
    { echo "$0: the manifest's InstallLocation has no <INSTALLPATH>" >&2; exit 1; }

install_dir="C:\\Program Files\\Orvanta"
unix_install_dir="$WINEPREFIX/drive_c/Program Files/Orvanta"
shortcut="ProgramData/Microsoft/Windows/Start Menu/Programs/Orvanta.lnk"
uninstall_key="HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\\$product_code"
uninstall_key_exported=${uninstall_key/HKLM/HKEY_LOCAL_MACHINE}
installed_files=(LICENSE.txt Orvanta.exe THIRD-PARTY-NOTICES.txt Uninstall.exe)

script_name=test-package-windows
# shellcheck source=scripts/helpers.sh
source "$(dirname "$0")/../../scripts/helpers.sh"
program_pid=""
make_scratch
stop_program() {
    stop "$program_pid"
}
run_at_exit stop_program

# --- The files themselves ----------------------------------------------------------------------
# A 64-bit installer for a 64-bit program: a 32-bit one would be sent to Program Files (x86) and
# the 32-bit registry view, and Wine here runs 64-bit programs only.
setup_type=$(file -b "$setup")
case "$setup_type" in
    "PE32+ executable "*"(GUI)"*"x86-64"*) ;;
    *) fail "$(basename "$setup") is not a 64-bit Windows GUI program: $setup_type" ;;
esac
say "$(basename "$setup"), $(stat -c %s "$setup") bytes: $setup_type"

zip_listing=$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')
[ "$zip_listing" = "LICENSE.txt Orvanta.exe THIRD-PARTY-NOTICES.txt " ] ||
    fail "$(basename "$zip") holds: $zip_listing"
say "$(basename "$zip"), $(stat -c %s "$zip") bytes: $zip_listing"

# --- Helpers -----------------------------------------------------------------------------------
# Seconds, to the millisecond, since $1 (date +%s%N).
seconds_since() {
    local ms=$((($(date +%s%N) - $1) / 1000000))
    printf '%d.%03d' $((ms / 1000)) $((ms % 1000))
}
# Whether the program last started has ended.
program_ended() {
    ! kill -0 "$program_pid" 2>/dev/null
}
# Starts a Windows program, waits for its window, and closes it as a user would, with Alt+F4;
# the program must then end, and end well.
run_window() {
    local program=$1 window status=0
    wine "$program" >"$scratch/program.log" 2>&1 &
    program_pid=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Orvanta$' 2>/dev/null |
        head -n 1) || true
    [ -n "$window" ] || fail "no Orvanta window within 60 s from $program" "$scratch/program.log"
    # xdotool complains when no window was active before, as in a session just started.
    xdotool windowactivate --sync "$window" 2>/dev/null
    xdotool key --clearmodifiers alt+F4
    wait_for 300 program_ended ||
        fail "Orvanta did not end within 30 s of Alt+F4" "$scratch/program.log"
    wait "$program_pid" || status=$?
    program_pid=""
    [ "$status" -eq 0 ] || fail "Orvanta ended with status $status" "$scratch/program.log"
}

# The state of the whole machine as an installer could change it: every path on drive C:, and
# every registry key and value (HKLM in its 64-bit view, which holds the 32-bit one under
# Wow6432Node, and HKCU), one line each, sorted.
snapshot() {
    (cd "$WINEPREFIX/drive_c" && find . | LC_ALL=C sort) >"$scratch/$1.files"
    local hive
    for hive in HKLM HKCU; do
        wine reg export "$hive" "$scratch/$1.$hive.reg" /reg:64 /y >/dev/null 2>&1 ||
            fail "could not export $hive"
        # Values follow their key; long values go on over lines that end in a backslash.
        iconv -f UTF-16 -t UTF-8 "$scratch/$1.$hive.reg" | tr -d '\r' |
            awk 'held != "" { sub(/^ +/, "") }
                 /\\$/ { sub(/\\$/, ""); held = held $0; next }
                 { line = held $0; held = "" }
                 line ~ /^\[/ { key = line; print key; next }
                 line != "" && key != "" { print key " " line }'
    done |
        # Wine 10 exports CurrentControlSet twice, also as ControlSet001, which it links to.
        grep -vF '[HKEY_LOCAL_MACHINE\System\ControlSet001\' |
        # Wine counts the services it has started here, and starts some when first needed. It
        # also lists the machine's network adapters once a program first asks for them, as
        # Windows lists its own.
        grep -vF '[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\ServiceCurrent] ' |
        grep -vE '^\[HKEY_LOCAL_MACHINE\\Software\\(Wow6432Node\\)?Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\' |
        LC_ALL=C sort >"$scratch/$1.registry"
}
# What $2 has that $1 had not ("+ ...") and what $1 had that $2 has not ("- ...").
changes() {
    local kind
    for kind in files registry; do
        LC_ALL=C comm -13 "$scratch/$1.$kind" "$scratch/$2.$kind" | sed 's/^/+ /'
        LC_ALL=C comm -23 "$scratch/$1.$kind" "$scratch/$2.$kind" | sed 's/^/- /'
    done
}

show_uninstall_key() {
    say "$1: wine reg query $uninstall_key /reg:64"
    { wine reg query "$uninstall_key" /reg:64 2>&1 || true; } | tr -d '\r' | sed '/^$/d; s/^/    /'
}
# A value of the uninstall key in snapshot $2, as the registry export writes it.
uninstall_value() {
    grep -F "[$uninstall_key_exported] \"$1\"=" "$scratch/$2.registry" | cut -d= -f2-
}

# Exactly what a silent install must have added, then the values Apps & features shows.
check_installed() {
    changes before "$1" >"$scratch/$1.changes"
    local expected="$scratch/$1.expected"
    {
        echo "+ ./Program Files/Orvanta"
        for file in "${installed_files[@]}"; do echo "+ ./Program Files/Orvanta/$file"; done
        echo "+ ./$shortcut"
        echo "+ [$uninstall_key_exported]"
    } | LC_ALL=C sort >"$expected"
    # The key's values are checked one by one below.
    grep -vF "+ [$uninstall_key_exported] " "$scratch/$1.changes" |
        LC_ALL=C sort | diff -u "$expected" - >"$scratch/$1.diff" ||
        fail "$1 changed other files or keys than expected (- missing, + unexpected):" \
            "$scratch/$1.diff"

    local file bytes=0 size name value expected_value
    cmp -s "$source_dir/LICENSE" "$unix_install_dir/LICENSE.txt" ||
        fail "the installed LICENSE.txt differs from LICENSE"
    cmp -s "$source_dir/packaging/THIRD-PARTY-NOTICES.txt" \
        "$unix_install_dir/THIRD-PARTY-NOTICES.txt" ||
        fail "the installed THIRD-PARTY-NOTICES.txt differs from packaging/THIRD-PARTY-NOTICES.txt"
    cmp -s "$scratch/portable/Orvanta.exe" "$unix_install_dir/Orvanta.exe" ||
        fail "the installed Orvanta.exe differs from the one in the zip"
    case $(file -b "$unix_install_dir/Uninstall.exe") in
        "PE32+ executable "*"(GUI)"*"x86-64"*) ;;
        *) fail "Uninstall.exe is not a 64-bit Windows program" ;;
    esac
    # The shortcut names the program; its icon is then the program's own.
    iconv -f UTF-16LE -t UTF-8 "$WINEPREFIX/drive_c/$shortcut" 2>/dev/null |
        grep -aqF "$install_dir\\Orvanta.exe" ||
        grep -aqF "$install_dir\\Orvanta.exe" "$WINEPREFIX/drive_c/$shortcut" ||
        fail "the Start-menu shortcut does not lead to $install_dir\\Orvanta.exe"

    # As the registry export writes them: first what the manifest's Apps & features entry says.
    while IFS='|' read -r name expected_value; do
        value=$(uninstall_value "$name" "$1")
        [ "$value" = "$expected_value" ] ||
            fail "$name in the uninstall key is $value, not $expected_value"
    done < <(printf '%s\n' "DisplayName|$arp_name" "DisplayVersion|$arp_version" \
        "Publisher|$arp_publisher"; cat <<'EOF'
DisplayIcon|"C:\\Program Files\\Orvanta\\Orvanta.exe"
UninstallString|"\"C:\\Program Files\\Orvanta\\Uninstall.exe\""
NoModify|dword:00000001
NoRepair|dword:00000001
EOF
    )
    for file in "${installed_files[@]}"; do
        bytes=$((bytes + $(stat -c %s "$unix_install_dir/$file")))
    done
    size=$(uninstall_value EstimatedSize "$1")
    [[ "$size" == dword:* ]] || fail "EstimatedSize is $size, not a DWORD"
    size=$((16#${size#dword:}))
    if ((size - bytes / 1024 < -1 || size - bytes / 1024 > 1)); then
        fail "EstimatedSize is $size KiB; the installed files take $((bytes / 1024)) KiB"
    fi
}

# --- The portable zip --------------------------------------------------------------------------
say "the portable zip: unpacked into a folder of its own, and its $portable_program started there"
mkdir "$scratch/portable"
unzip -q "$zip" -d "$scratch/portable"
run_window "$scratch/portable/$portable_program"
[ "$(find "$scratch/portable" -mindepth 1 -maxdepth 1 -printf '%f\n' | LC_ALL=C sort |
    tr '\n' ' ')" = \
    "LICENSE.txt Orvanta.exe THIRD-PARTY-NOTICES.txt " ] ||
    fail "the portable Orvanta wrote beside itself: $(ls -A "$scratch/portable")"
say "its window appeared and closed"

# --- The installer's language ------------------------------------------------------------------
# Greek even where Windows speaks English, as Orvanta itself does. Then cancelled, as a user
# would, with Escape and Yes to the question whether to quit.
say "the installer, started on an English Windows"
LC_ALL=en_US.UTF-8 wine "$setup" >"$scratch/setup.log" 2>&1 &
program_pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name Orvanta 2>/dev/null |
    head -n 1) || true
[ -n "$window" ] || fail "no installer window within 60 s" "$scratch/setup.log"
title=$(xdotool getwindowname "$window")
[ "$title" = "Εγκατάσταση του 'Orvanta'" ] || fail "the installer's title is not Greek: $title"
say "its title is $title"
xdotool windowactivate --sync "$window" 2>/dev/null
xdotool key --clearmodifiers Escape
question() {
    xdotool search --onlyvisible --name Orvanta 2>/dev/null | grep -vx "$window" | head -n 1
}
question_asked() {
    [ -n "$(question)" ]
}
wait_for 300 question_asked ||
    fail "no question on cancelling the installer" "$scratch/setup.log"
xdotool windowactivate --sync "$(question)" 2>/dev/null
xdotool key --clearmodifiers Return
wait_for 300 program_ended ||
    fail "the installer did not end within 30 s of being cancelled" "$scratch/setup.log"
wait "$program_pid" || true
program_pid=""
say "cancelled"

# --- Install, run, upgrade, uninstall ----------------------------------------------------------
snapshot before

# Runs the installer silently, as $1 ("install" or "upgrade"), and checks the machine after it,
# saved as snapshot $2.
silent_setup() {
    say "wine $(basename "$setup") $silent_switch, to $1"
    local start
    start=$(date +%s%N)
    timeout 300 wine "$setup" "$silent_switch" || fail "the silent $1 ended with status $?"
    say "the $1 took $(seconds_since "$start") s"
    snapshot "$2"
    check_installed "$2"
}

silent_setup install installed
show_uninstall_key "after installing"
for name in DisplayName Publisher DisplayVersion; do
    say "Apps & features: $name $(uninstall_value "$name" installed) in the key $product_code"
done
say "the winget manifest's entry: DisplayName $arp_name, Publisher $arp_publisher, DisplayVersion $arp_version, ProductCode \"$product_code\""
say "the files, the Start-menu shortcut and the uninstall key are as they should be"

say "the installed Orvanta.exe"
run_window "$install_dir\\Orvanta.exe"
say "its window appeared and closed"

silent_setup upgrade upgraded
changes installed upgraded >"$scratch/upgrade.changes"
[ ! -s "$scratch/upgrade.changes" ] ||
    fail "the upgrade left the machine otherwise than the install did:" "$scratch/upgrade.changes"
say "the upgrade left everything as the first install did"

# As Apps & features does it: the UninstallString, and /S for no questions. The uninstaller
# copies itself to Temp, starts the copy and returns at once; the copy does the work.
uninstall_string=$(wine reg query "$uninstall_key" /v UninstallString /reg:64 | tr -d '\r' |
    sed -n 's/^ *UninstallString *REG_SZ *"\(.*\)"$/\1/p')
[ -n "$uninstall_string" ] || fail "no UninstallString to uninstall with"
say "wine $uninstall_string /S"
start=$(date +%s%N)
timeout 120 wine "$uninstall_string" /S || fail "the uninstaller ended with status $?"
# Its processes, in this prefix alone: other Wine sessions may run on the machine.
uninstaller_copies() {
    local process command_line
    for process in /proc/[0-9]*; do
        command_line=$(tr '\0' ' ' 2>/dev/null <"$process/cmdline") || continue
        if [[ "$command_line" == *'\~nsu'*'.tmp\'* ]] &&
            tr '\0' '\n' 2>/dev/null <"$process/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            echo "${process#/proc/}"
        fi
    done
    return 0
}
uninstallers_gone() {
    [ -z "$(uninstaller_copies)" ]
}
if ! wait_for 1200 uninstallers_gone; then
    uninstaller_copies | xargs -r kill 2>/dev/null || true
    fail "the uninstaller was still running after 120 s"
fi
say "uninstalled in $(seconds_since "$start") s"
show_uninstall_key "after uninstalling"
snapshot uninstalled

# Left over, and only this: the copy of the uninstaller that ran from Temp, which cannot delete
# itself while it runs and leaves it and its folder to Windows to delete at the next restart.
changes before uninstalled >"$scratch/uninstall.changes"
pending_key='HKLM\System\CurrentControlSet\Control\Session Manager'
pending_value="[${pending_key/HKLM/HKEY_LOCAL_MACHINE}] \"PendingFileRenameOperations\"="
pending=$({ wine reg query "$pending_key" /v PendingFileRenameOperations 2>/dev/null || true; } |
    tr -d '\r' | sed -n 's/^ *PendingFileRenameOperations *REG_MULTI_SZ *//p')
say "the machine after uninstalling, against before installing:"
# The list of files to delete at restart is shown as text, not in the export's hexadecimal.
while IFS= read -r line; do
    [[ "$line" == "+ $pending_value"* ]] && line="+ $pending_value$pending"
    echo "    $line"
done <"$scratch/uninstall.changes"

grep -Ev '^\+ \./users/[^/]+/(AppData/Local/)?Temp/~nsu[^/]*\.tmp(/Un[^/]*\.exe)?$' \
    "$scratch/uninstall.changes" |
    grep -vF "+ $pending_value" >"$scratch/uninstall.left" || true
# Each file to delete at restart must be the copy or its folder (each followed by an empty name,
# which means delete rather than rename).
printf '%s\n' "${pending//\\0/$'\n'}" | grep -v '^$' |
    grep -Ev '^\\\?\?\\C:\\users\\[^\]+\\(AppData\\Local\\)?Temp\\~nsu[^\]*\.tmp(\\Un[^\]*\.exe)?$' \
        >>"$scratch/uninstall.left" || true
[ ! -s "$scratch/uninstall.left" ] ||
    fail "the uninstaller left behind or took away more than it should:" "$scratch/uninstall.left"
say "the uninstaller took away every file, the shortcut and the key, and nothing else"

# --- The setup as a user runs it ---------------------------------------------------------------
# Next on every page and Finish, with the box to start Orvanta left checked, as it comes: the
# window of the Orvanta that the last page starts must appear. The first and the last page are
# told from the others by our side picture: white in the dial's face, dark blue below it.
say "the setup, run as a user runs it: Next on every page, then Finish"
wine "$setup" >"$scratch/wizard.log" 2>&1 &
program_pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name Orvanta 2>/dev/null |
    head -n 1) || true
[ -n "$window" ] || fail "no installer window within 60 s" "$scratch/wizard.log"
pixel() {
    import -window "$window" -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        grep -o '#[0-9A-F]\{6\}' | head -n 1
}
picture_shown() {
    local blue
    blue=$(pixel 20 250)
    [ "$(pixel 82 134)" = "#FFFFFF" ] && [ -n "$blue" ] &&
        [ $((16#${blue:5:2})) -ge $((16#${blue:1:2} + 48)) ]
}
picture_gone() {
    ! picture_shown
}
# The last page shows our picture again, once the files are in place.
last_page_shown() {
    [ -e "$unix_install_dir/Uninstall.exe" ] && picture_shown
}
press() {
    xdotool windowactivate --sync "$window" 2>/dev/null
    xdotool key --clearmodifiers --delay 300 "$@"
}
wait_for 300 picture_shown || fail "the first page does not show our picture" "$scratch/wizard.log"
press Return
wait_for 300 picture_gone || fail "the setup did not leave its first page"
# I agree to the licence, then Install on the folder's page.
press Return Return
wait_for 1200 last_page_shown ||
    fail "the setup did not reach its last page within 120 s" "$scratch/wizard.log"
press Return
orvanta_window() {
    xdotool search --onlyvisible --name '^Orvanta$' 2>/dev/null | head -n 1
}
orvanta_shown() {
    [ -n "$(orvanta_window)" ]
}
orvanta_gone() {
    [ -z "$(orvanta_window)" ]
}
wait_for 600 orvanta_shown ||
    fail "no Orvanta window within 60 s of Finish" "$scratch/wizard.log"
say "Orvanta's window appeared after Finish"
wait_for 300 program_ended ||
    fail "the setup did not end within 30 s of Finish" "$scratch/wizard.log"
wait "$program_pid" || fail "the setup ended with status $?" "$scratch/wizard.log"
program_pid=""
window=$(orvanta_window)
xdotool windowactivate --sync "$window" 2>/dev/null
xdotool key --clearmodifiers alt+F4
wait_for 300 orvanta_gone || fail "Orvanta did not close on Alt+F4"

# --- Into a folder of the user's choosing ------------------------------------------------------
# As winget runs it for `winget install --location`: the manifest's Silent and InstallLocation
# switches, with a folder named in Greek and with a space in place of <INSTALLPATH>. Over the
# Orvanta that the wizard installed, which it first removes. NSIS reads /D= only unquoted and
# last, as winget writes it; wine would quote an argument with a space, so cmd starts the setup
# with the command line as it is written, from the setup's folder, whose path may have spaces
# of its own.
elsewhere='C:\Εφαρμογές\Orvanta δύο'
unix_elsewhere="$WINEPREFIX/drive_c/Εφαρμογές/Orvanta δύο"
command_line="$(basename "$setup") $silent_switch ${location_switch/<INSTALLPATH>/$elsewhere}"
say "wine cmd /c $command_line"
(cd "$(dirname "$setup")" && timeout 300 wine cmd /c "$command_line") ||
    fail "the setup ended with status $?"
[ -f "$unix_elsewhere/Orvanta.exe" ] || fail "no Orvanta.exe in $elsewhere"
[ ! -e "$unix_install_dir/Orvanta.exe" ] || fail "the Orvanta.exe in $install_dir is still there"
snapshot elsewhere
# As the registry export writes it.
expected_value="\"\\\"${elsewhere//\\/\\\\}\\\\Uninstall.exe\\\"\""
[ "$(uninstall_value UninstallString elsewhere)" = "$expected_value" ] ||
    fail "Apps & features would uninstall with $(uninstall_value UninstallString elsewhere)"
run_window "$elsewhere\\Orvanta.exe"
say "installed in $elsewhere, which Apps & features names; its window appeared and closed"
say "OK"
