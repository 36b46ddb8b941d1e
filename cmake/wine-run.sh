#!/bin/sh
# wine-run.sh WINE PREFIX PROGRAM [ARGS...]: runs a Windows program under
# wine in PREFIX, without wine's own diagnostics on standard error.
wine=$1
WINEPREFIX=$2
shift 2
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
exec "$wine" "$@"
