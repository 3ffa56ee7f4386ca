# Sourced by test.sh: starts a CUPS scheduler with a CUPS-PDF queue "PDF"
# when none runs, and stops it again afterwards. CUPS-PDF writes every job
# into $HOME/PDF of the user who printed it (TitlePref=1: named after the
# job's title); the tests look there through their own home folder.
CUPSD_PID=""

start_cups_pdf() {
    command -v lpadmin >/dev/null 2>&1 || return 1
    if ! lpstat -r 2>/dev/null | grep -q "is running"; then
        [ -x /usr/sbin/cupsd ] || return 1
        /usr/sbin/cupsd -f >/dev/null 2>&1 &
        CUPSD_PID=$!
        i=0
        while ! lpstat -r 2>/dev/null | grep -q "is running"; do
            i=$((i + 1))
            [ $i -gt 50 ] && return 1
            sleep 0.1
        done
    fi
    if ! lpstat -p PDF >/dev/null 2>&1; then
        lpadmin -p PDF -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o TitlePref=1 || return 1
    fi
    lpadmin -d PDF || return 1
    export DORLIX_TEST_PRINTER=PDF
    return 0
}

stop_cups_pdf() {
    if [ -n "$CUPSD_PID" ]; then
        kill "$CUPSD_PID" 2>/dev/null || true
        wait "$CUPSD_PID" 2>/dev/null || true
    fi
}
