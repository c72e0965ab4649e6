#!/bin/bash
# Runs a Windows program under Wine with the test prefix and no Wine chatter.
# TAVREL_WINEDLLOVERRIDES adds overrides of its own.
export WINEPREFIX="${TAVREL_WINEPREFIX:-$HOME/.wine-tavrel}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${TAVREL_WINEDLLOVERRIDES:+;$TAVREL_WINEDLLOVERRIDES}"
exec wine "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)
