#!/usr/bin/env bash
# Usage: wine-prefix.sh PREFIX [LETTER=FOLDER[:TYPE]]...
# Creates the Wine prefix once and maps exactly the given drive letters to folders, TYPE being
# floppy (removable, the default) or hd (fixed). Other letters D: to Y: are unmapped; C: and Z:
# stay. Wine reads drive types when its server starts, so a changed mapping restarts the
# prefix's server. Nothing is done when the mapping is already in place.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

[ $# -ge 1 ] || { echo "usage: $0 PREFIX [LETTER=FOLDER[:TYPE]]..." >&2; exit 2; }
export WINEPREFIX=$(realpath -m "$1")
shift

declare -A folder type
for mapping in "$@"; do
    letter=${mapping%%=*}
    letter=${letter,,}
    target=${mapping#*=}
    kind=floppy
    case $target in
        *:floppy | *:hd) kind=${target##*:} target=${target%:*} ;;
    esac
    [[ $letter =~ ^[d-y]$ ]] || { echo "$0: drive letter must be D to Y: $mapping" >&2; exit 2; }
    [ -d "$target" ] || { echo "$0: no folder $target for drive ${letter^}:" >&2; exit 2; }
    folder[$letter]=$(realpath "$target")
    type[$letter]=$kind
done

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1
    "$WINESERVER" -w
fi

# Wine's own fonts (Tahoma, Marlett for the caption's buttons, the system fonts) where its
# programs look for them. Wine's MS Sans Serif, the dialogs' face, is a bitmap font of Western
# letters that Wine gives no fallback, so other scripts would show as boxes: it is drawn with
# WenQuanYi Micro Hei instead, which spells Chinese, Japanese, Korean, Cyrillic and Greek and
# sets the dialogs' texts to the same widths.
fonts=$WINEPREFIX/drive_c/windows/Fonts
if [ ! -f "$WINEPREFIX/fonts.applied" ]; then
    mkdir -p "$fonts"
    find /usr/share/wine/fonts -maxdepth 1 -type f ! -name 'sse*' ! -name 'ms_sans_serif.ttf' \
        -exec cp -t "$fonts/" {} +
    "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS Sans Serif' \
        /d 'WenQuanYi Micro Hei' /f >/dev/null
    touch "$WINEPREFIX/fonts.applied"
fi

wanted=$(for l in "${!folder[@]}"; do echo "$l ${folder[$l]} ${type[$l]}"; done | sort)
stamp=$WINEPREFIX/drives.applied
links_ok=true
for l in "${!folder[@]}"; do
    [ "$(readlink "$WINEPREFIX/dosdevices/$l:" 2>/dev/null)" = "${folder[$l]}" ] || links_ok=false
done
if $links_ok && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then
    exit 0
fi

reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
{
    echo REGEDIT4
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\Wine\Drives]'
    for l in {d..y}; do
        if [ -n "${type[$l]:-}" ]; then
            echo "\"$l:\"=\"${type[$l]}\""
        else
            echo "\"$l:\"=-"
        fi
    done
} >"$reg"
"$WINE" regedit /S "Z:${reg//\//\\}"

for l in {d..y}; do
    rm -f "$WINEPREFIX/dosdevices/$l:" "$WINEPREFIX/dosdevices/$l::"
    [ -z "${folder[$l]:-}" ] || ln -s "${folder[$l]}" "$WINEPREFIX/dosdevices/$l:"
done

"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w
echo "$wanted" >"$stamp"
