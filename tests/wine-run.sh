#!/usr/bin/env bash
# CTest's emulator: runs one test program under the Wine prefix and display that pivora.sh prepared.
export WINEDEBUG=${WINEDEBUG:--all}
exec wine "$@"
