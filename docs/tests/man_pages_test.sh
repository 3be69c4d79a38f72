#!/bin/bash
# The man pages format without a single groff warning (a misspelt macro or a
# stray control character shows as a warning, not as a failure).
# Usage: man_pages_test.sh GROFF MAN_FOLDER
set -u
groff=$1
failed=0
for page in "$2"/*.1; do
  warnings=$("$groff" -man -Tutf8 -ww -z "$page" 2>&1)
  if [[ -n $warnings ]]; then
    printf 'FAIL: %s\n%s\n' "$page" "$warnings"
    failed=1
  fi
  text=$("$groff" -man -Tutf8 -P-cbou "$page" 2>/dev/null)
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS; do
    grep -Eq "^([A-Z]+ )?$section\$" <<<"$text" || { echo "FAIL: $page has no $section section"; failed=1; }
  done
done
exit $failed
