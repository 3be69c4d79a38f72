#!/bin/bash
# Compiles the example project with the small template the manual walks
# through (docs/onepage.scvt) and compares the page with the one expected, so
# that what the manual says the template does stays true.
# Usage: example_template_test.sh SCRIVLET SOURCE_DIR
set -u
scrivlet=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -R "$source_dir/examples/Calc" "$work/Calc"
cd "$work/Calc" || exit 1
# Not --quiet: that would hide what the after-compile command prints.
messages=$("$scrivlet" compile Calc.vbp --template "$source_dir/docs/onepage.scvt" \
  --output "$work/out" 2>&1)
status=$?
failed=0
if [[ $status -ne 0 ]]; then
  echo "FAIL: the compile exited with $status"
  failed=1
fi
if grep -v '^Done: ' <<<"$messages" | grep -Eiq 'warning|error' ||
    ! grep -Eq '^Done: .* written, 0 warnings, 0 errors in ' <<<"$messages"; then
  printf 'FAIL: the compile reported problems:\n%s\n' "$messages"
  failed=1
fi
if ! grep -q "^Written: $work/out/Calc.html" <<<"$messages"; then
  printf 'FAIL: the after-compile command did not report the page:\n%s\n' "$messages"
  failed=1
fi
files=$(cd "$work/out" && ls)
if [[ $files != "Calc.html" ]]; then
  printf 'FAIL: expected the single file Calc.html, got:\n%s\n' "$files"
  failed=1
fi
# The page is written with CR LF; the expected text is kept with LF.
if ! diff -u "$source_dir/docs/tests/onepage-Calc.html" <(tr -d '\r' <"$work/out/Calc.html"); then
  echo "FAIL: Calc.html differs from docs/tests/onepage-Calc.html"
  failed=1
fi
[[ $failed -eq 0 ]] && echo "the manual's example template compiles Calc as expected"
exit $failed
