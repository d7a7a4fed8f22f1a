# Sourced by the scripts that run sanitized programs: stop at the first
# error with a full report; leaks are reported, except those inside the
# Firebird client and engine (tests/sanitizers/lsan.supp).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_odr_violation=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0
