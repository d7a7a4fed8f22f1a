# Sourced by the scripts that run sanitized programs: stop at the first
# error with a full report; leaks are reported, except those inside the
# Firebird client and engine (tests/sanitizers/lsan.supp).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# intercept_tls_get_addr=0: clang 14's runtime takes a dynamic TLS block that
# happens to start at a certain page offset for an old glibc layout and reads
# a bogus range from it; LeakSanitizer's tracer then crashes at exit ("Tracer
# caught signal 11") in tests that passed. Without the interception, leaks
# held only from dynamic TLS go unseen.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_odr_violation=1:intercept_tls_get_addr=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0
