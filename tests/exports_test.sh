#!/bin/sh
# What the host library and the plug-ins export, checked against what they
# promise: libugopen.so exactly the calls its C headers declare and the one entry
# a host program reaches the host through; a plug-in exactly its entry points.
#   exports_test.sh HOST_INCLUDE_DIR LIBUGOPEN PLUGIN...
include=$1 library=$2
shift 2
status=0

exports() { nm -D --defined-only "$1" | awk '{ print $3 }' | sort; }

compare() {  # compare WHAT EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        echo "$1 exports what it should not, or lacks an export:"
        printf '%s\n' "$2" > expected.$$
        printf '%s\n' "$3" > actual.$$
        diff expected.$$ actual.$$
        rm -f expected.$$ actual.$$
        status=1
    fi
}

declared=$( { sed -n 's/^\(UF_API\|WIN_API\) [^(]*[ *]\([A-Za-z_0-9]*\)(.*/\2/p' "$include"/uf.h "$include"/windows.h
              echo ughost_host_control; } | sort)
compare "$library" "$declared" "$(exports "$library")"

for plugin in "$@"; do
    entries=$(printf '%s\n' ufusr ufusr_ask_unload ufusr_cleanup | sort)
    case $(basename "$plugin") in korvane.so) entries=$(printf '%s\n' ufusr ufusr_ask_unload | sort) ;; esac
    compare "$plugin" "$entries" "$(exports "$plugin")"
done
exit $status
