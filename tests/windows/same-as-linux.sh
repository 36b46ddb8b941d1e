#!/usr/bin/env bash
# same-as-linux.sh LINUX_CONVERT WINDOWS_CONVERT WINE_RUN...
# bankwise-convert.exe under wine against the Linux converter on every
# example and golden dump: the same files and standard output byte for
# byte, the same messages (Windows ends their lines in CR LF and joins an
# output folder's name with '\'), the same exit status. Then the naming
# patterns and a hostile value from the registry key the desktop program
# writes, in the test prefix's registry, never a user's.
set -uo pipefail
[ -x "$1" ] || { echo "no Linux converter at $1: build it first (./run test-windows does)"; exit 77; }
linux=$(realpath "$1")
exe=$(realpath "$2")
shift 2
wine=("$@")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/linux" "$scratch/windows"
# Both run in a folder of their own and are given the same relative names.
ln -s "$source_dir" "$scratch/linux/src"
ln -s "$source_dir" "$scratch/windows/src"
failures=0 runs=0 files=0

# same WHAT ARG...: runs both with ARG... and compares what they did.
same() {
    local what=$1
    shift
    runs=$((runs + 1))
    local l w
    # -d writes into a folder that is there already: without one, both sides
    # would only fail alike and no file would be compared.
    rm -rf "$scratch/linux/out" "$scratch/windows/out"
    mkdir "$scratch/linux/out" "$scratch/windows/out"
    (cd "$scratch/linux" && "$linux" "$@" >stdout 2>stderr)
    l=$?
    (cd "$scratch/windows" && "${wine[@]}" "$exe" "$@" >stdout 2>stderr)
    w=$?
    local problem=""
    [ "$l" = "$w" ] || problem+=" exit status $l on Linux, $w on Windows;"
    cmp -s "$scratch/linux/stdout" "$scratch/windows/stdout" || problem+=" standard output differs;"
    diff -r "$scratch/linux/out" "$scratch/windows/out" >/dev/null || problem+=" files differ;"
    files=$((files + $(find "$scratch/linux/out" -type f | wc -l)))
    # Every line ends in CR LF on Windows, none does on Linux.
    if grep -q $'[^\r]$' "$scratch/windows/stderr" || grep -q $'\r' "$scratch/linux/stderr"; then
        problem+=" line ends of standard error;"
    fi
    if ! diff <(sed 's/\r$//; s/out\\/out\//g' "$scratch/windows/stderr") "$scratch/linux/stderr" >/dev/null; then
        problem+=" standard error differs;"
    fi
    if [ -n "$problem" ]; then
        failures=$((failures + 1))
        echo "DIFFERENT: $what:$problem"
        echo "  linux:   $(head -c 300 "$scratch/linux/stderr")"
        echo "  windows: $(head -c 300 "$scratch/windows/stderr")"
    fi
}

cd "$source_dir" || exit 1
folders=(examples)
for folder in tests/data/*/; do
    [ "$(basename "$folder")" = writers ] || folders+=("${folder%/}")
done
# Every dump once, a folder's raw dumps and MIDI files each in one run.
for folder in "${folders[@]}"; do
    for kind in syx mid; do
        dumps=("$folder"/*."$kind")
        [ -e "${dumps[0]}" ] || continue
        same "$folder/*.$kind" --no-settings -d out "${dumps[@]/#/src/}"
    done
done
# Each output format, and each golden variant's arguments, to standard output.
for format in midnam reabank cubase rgd idf; do
    same "examples as $format" --no-settings --format "$format" -d out src/examples/*.syx
done
same "standard output" --no-settings src/examples/emu-orbit.syx
for args in tests/data/*/*@*.args; do
    base=$(basename "$args" .args)
    dump=$(dirname "$args")/${base%@*}
    [ -e "$dump.syx" ] && dump+=.syx || dump+=.mid
    mapfile -t extra <"$args"
    same "$base" --no-settings "${extra[@]}" "src/$dump"
done
# Failures and usage errors.
same "not a dump" --no-settings src/examples/emu-orbit.ins
same "no such file" --no-settings src/examples/missing.syx
same "unknown option" --no-such-option
same "no dump" --no-settings
same "-o and -d" -o a.ins -d out src/examples/emu-orbit.syx
same "several dumps" src/examples/emu-orbit.syx src/examples/emu-orbit.mid
same "unknown format" --format doc src/examples/emu-orbit.syx
same "version" --version

# The registry key: stored patterns name the banks as the same patterns
# given on the command line do on Linux; a value of the wrong type is
# passed over with one warning.
key='HKCU\Software\Orvane\Bankwise\E-MU Orbit/Phatt/Caranaval'
"${wine[@]}" reg add "$key" /v BankFormat /d "Stored %d" /f >/dev/null 2>&1
"${wine[@]}" reg add "$key" /v InstrFormat /t REG_DWORD /d 7 /f >/dev/null 2>&1
runs=$((runs + 1))
(cd "$scratch/windows" && "${wine[@]}" "$exe" src/examples/emu-orbit.syx >stdout 2>stderr)
status=$?
"${wine[@]}" reg delete 'HKCU\Software\Orvane\Bankwise' /f >/dev/null 2>&1
(cd "$scratch/linux" && "$linux" --no-settings --bank-format "Stored %d" src/examples/emu-orbit.syx >stdout)
warning="bankwise-convert: Registry value HKEY_CURRENT_USER\\Software\\Orvane\\Bankwise\\E-MU Orbit/Phatt/Caranaval\\InstrFormat ignored (not a text); its default applies"$'\r'
if [ "$status" != 0 ] || ! cmp -s "$scratch/linux/stdout" "$scratch/windows/stdout" ||
    [ "$(cat "$scratch/windows/stderr")" != "$warning" ]; then
    failures=$((failures + 1))
    echo "DIFFERENT: patterns from the registry: status $status, standard error:"
    cat "$scratch/windows/stderr"
fi

echo "$runs runs compared ($files output files), $failures different"
[ "$failures" = 0 ] && [ "$files" -gt 0 ]
