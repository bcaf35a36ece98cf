#!/bin/sh
# Prints the data grid through a real CUPS server: starts a private cupsd
# (unless one from an earlier run still answers), makes a cups-pdf queue the
# default printer and runs DataPrint.PrintsThroughTheSystemSpooler, which
# prints from the running program and reads the PDF back with pdftotext;
# then, with the queue refusing jobs (cupsreject), runs
# DataPrint.AJobTheSpoolerRefusesIsReported.
#
# Usage: cups_print_test.sh <DataPrintTest executable>
# Exit status: 0 passed, 1 failed, 77 cannot run here (not root).

set -u

test_program=${1:?usage: cups_print_test.sh <DataPrintTest executable>}
root=${TRACELLA_CUPS_ROOT:-${TMPDIR:-/tmp}/tracella-cups}
socket=$root/cups.sock
queue=tracella-pdf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

say() { echo "cups_print_test: $*"; }
fail() { say "FAILED: $*"; exit 1; }

if [ "$(id -u)" -ne 0 ]; then
    say "skipped: the cups-pdf backend runs only under a cupsd started as root"
    exit 77
fi
for tool in cupsd lpadmin lpstat cupsaccept cupsreject pdftotext pdfinfo; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (Debian packages cups, cups-client, poppler-utils)"
done
[ -x /usr/lib/cups/backend/cups-pdf ] || fail "the cups-pdf backend is missing (Debian package printer-driver-cups-pdf)"
[ -r "$ppd" ] || fail "$ppd is missing (Debian package printer-driver-cups-pdf)"

export CUPS_SERVER="$socket"

scheduler_running() { lpstat -r 2>/dev/null | grep -q "is running"; }

started_pid=
stop_started_cupsd() {
    cupsaccept "$queue" 2>/dev/null
    if [ -n "$started_pid" ]; then
        kill "$started_pid" 2>/dev/null
        wait "$started_pid" 2>/dev/null
    fi
}
trap stop_started_cupsd EXIT

if scheduler_running; then
    say "using the cupsd already answering on $socket"
else
    mkdir -p "$root/conf/ppd" "$root/spool/tmp" "$root/cache" "$root/state" "$root/log"
    chmod 0755 "$root" "$root/conf"
    chmod 0710 "$root/spool"
    chmod 1770 "$root/spool/tmp"
    chgrp lp "$root/spool" "$root/spool/tmp" 2>/dev/null
    cat >"$root/conf/cupsd.conf" <<CONF
Listen $socket
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    cat >"$root/conf/cups-files.conf" <<CONF
SystemGroup root
ServerRoot $root/conf
RequestRoot $root/spool
TempDir $root/spool/tmp
CacheDir $root/cache
StateDir $root/state
ErrorLog $root/log/error_log
AccessLog $root/log/access_log
PageLog $root/log/page_log
CONF
    say "starting cupsd in $root"
    cupsd -f -c "$root/conf/cupsd.conf" -s "$root/conf/cups-files.conf" &
    started_pid=$!
    waited=0
    until scheduler_running; do
        waited=$((waited + 1))
        if [ "$waited" -gt 60 ] || ! kill -0 "$started_pid" 2>/dev/null; then
            cat "$root/log/error_log" 2>/dev/null
            fail "cupsd did not start within 60 s"
        fi
        sleep 1
    done
fi

if ! lpstat -p "$queue" >/dev/null 2>&1; then
    lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd" || fail "cannot add the cups-pdf queue $queue"
fi
# Converted to PostScript by Cairo, the page keeps what pdftotext needs to
# read its text back; Ghostscript and poppler's pdftops lose the characters
# of the embedded font.
lpadmin -p "$queue" -o pdftops-renderer-default=pdftocairo || fail "cannot set the PostScript converter of $queue"
lpadmin -d "$queue" || fail "cannot make $queue the default printer"
[ "$(lpstat -d 2>/dev/null)" = "system default destination: $queue" ] || fail "$queue is not the default printer"

# Where cups-pdf puts the PDF files of this user's jobs.
user=$(id -un)
home=$(getent passwd "$user" | cut -d: -f6)
out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\{1,\}//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n 1)
[ -n "$out" ] || out='${HOME}/PDF'
out=$(printf '%s\n' "$out" | sed -e "s|\${HOME}|$home|g" -e "s|\${USER}|$user|g")
mkdir -p "$out"
export TRACELLA_CUPS_PDF_DIR="$out"
say "printing to $queue; cups-pdf writes to $out"

run_test() {
    if [ -n "${DISPLAY:-}" ]; then
        timeout 180 "$test_program" --gtest_filter="$1"
    else
        timeout 180 xvfb-run -a -s "-screen 0 1600x1200x24" "$test_program" --gtest_filter="$1"
    fi
}
expect_pass() {
    output=$(run_test "$1" 2>&1)
    status=$?
    printf '%s\n' "$output"
    if [ "$status" -ne 0 ]; then
        tail -n 20 "$root/log/error_log" 2>/dev/null
        fail "$1 failed (status $status)"
    fi
    printf '%s\n' "$output" | grep -q "^\[  PASSED  \] 1 test" || fail "$1 did not run (skipped?)"
}

cupsaccept "$queue" || fail "cannot make $queue accept jobs"
expect_pass DataPrint.PrintsThroughTheSystemSpooler
cupsreject "$queue" || fail "cannot make $queue refuse jobs"
export TRACELLA_CUPS_REJECTING=1
expect_pass DataPrint.AJobTheSpoolerRefusesIsReported
unset TRACELLA_CUPS_REJECTING
cupsaccept "$queue"
say "passed"
