#!/usr/bin/env bash
# Reads the records SetupMessageRecord.exe writes (SetupMessages-<pid>.txt) and
# prints, per record, the run's length, what the late-input filter dropped and
# every decision to close or finish, each with its message time relative to the
# moment the Finish page became active. With -v, also each record's timeline of
# keys, close requests, decisions and moments (milliseconds from the run's start).
#   tools/message-record.sh [-v] RECORD...
set -euo pipefail
verbose=0
[ "${1:-}" = -v ] && { verbose=1; shift; }
for record in "$@"; do
    tr -d '\r' <"$record" | gawk -F'\t' -v name="$(basename "$record")" -v verbose=$verbose '
    function label(m) {
        return m == "0x0100" ? "WM_KEYDOWN" : m == "0x0101" ? "WM_KEYUP" : m == "0x0102" ? "WM_CHAR" :
               m == "0x0104" ? "WM_SYSKEYDOWN" : m == "0x0105" ? "WM_SYSKEYUP" : m == "0x0106" ? "WM_SYSCHAR" :
               m == "0x0112" ? "WM_SYSCOMMAND" : m == "0x0010" ? "WM_CLOSE" : m == "0x0111" ? "WM_COMMAND" :
               m == "0x0002" ? "WM_DESTROY" : m == "0x004e" ? "WM_NOTIFY" : m
    }
    NR > 1 { row[NR] = $0 }
    /\tfinish page activates\t/ { moment = strtonum($9) }
    /\trun begins\t/ && !start { start = $2 }
    END {
        for (i = 2; i <= NR; i++) {
            split(row[i], f, "\t")
            where = f[5]; msg = f[7]
            if (where == "run begins") begun = f[2]
            if (where == "run ends") ended = f[2]
            if (where == "filter drops") drops++
            decision = where ~ /^On(QueryCancel|WizardFinish)$/ || where == "sheet refuses"
            if (decision)
                summary = summary sprintf(" %s(%s)=%s@%+d", where, f[8], where == "sheet refuses" ? "refused" :
                                          f[9] == "0x1" ? "refused" : "allowed", f[3] - moment)
            if (where == "sheet" && msg == "0x0002")
                summary = summary sprintf(" destroyed@%+d", f[2] - moment)
            shown = where !~ /^(sheet|retrieved|peeked)$/ || msg ~ /^0x0(10[0-6]|112|010|111)$/ ||
                    (where == "sheet" && msg == "0x0002")
            if (verbose && shown && (!start || f[2] >= start - 100))
                printf "  %6d  %-22s %-14s time %+6d  wp %s lp %s%s\n", f[2] - start, where, label(msg),
                       f[3] - start, f[8], f[9], f[4] == "1" ? " (sent)" : ""
        }
        printf "%s: run %d ms, filter dropped %d;%s\n", name, ended - begun, drops, summary
    }'
done
