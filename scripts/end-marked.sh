#!/bin/bash
# Ends the Windows programs (start, explorer and tavrel) that a script
# started under Wine with MARK (NAME=VALUE) in their environment, which Wine
# hands on to the programs they start; nothing else running in the prefix,
# its wineserver included, is touched (the server ends by itself once it has
# nothing left to serve).
mark=${1:?usage: end-marked.sh NAME=VALUE}
ours() {
    for pid in $(grep -lzxF "$mark" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do
        grep -qaiE "(start|explorer|tavrel)\.exe" "/proc/$pid/cmdline" 2>/dev/null && echo "$pid"
    done
}
kill $(ours) 2>/dev/null
for _ in $(seq 1 50); do [ -z "$(ours)" ] && exit 0; sleep 0.2; done
kill -9 $(ours) 2>/dev/null
exit 0
