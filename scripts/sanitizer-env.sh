# shellcheck shell=bash
# Sourced before running the sanitizer build's tests:
#   source scripts/sanitizer-env.sh && (cd build-asan && ctest)
# Child programs the tests start (mavuctl, mavu-sim, the editor) inherit it.
_mavu_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# strndup is not checked: libxkbcommon-x11 hands it atom names that are not
# NUL-terminated with their exact length, which strict checks report as an
# overflow before the editor's window (on xcb, for the AT-SPI test) exists.
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:intercept_strndup=0
export LSAN_OPTIONS=suppressions=$_mavu_root/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
unset _mavu_root
