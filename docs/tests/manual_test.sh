#!/bin/bash
# Keeps the manual honest: the files it shows are shown as they are, every
# settings key the program knows is documented, and every link inside the
# rendered page leads to a heading.
# Usage: manual_test.sh DOCS_FOLDER MANUAL_HTML
set -u
docs=$1
html=$2
manual=$docs/manual.md
failed=0
fail() { printf 'FAIL: %s\n' "$*"; failed=1; }

# A block introduced by "<!-- file: NAME -->" is the whole of docs/NAME.
mapfile -t shown < <(sed -n 's/^<!-- file: \(.*\) -->$/\1/p' "$manual")
[[ ${#shown[@]} -ge 2 ]] || fail "the manual shows fewer files than expected: ${shown[*]}"
for name in "${shown[@]}"; do
  block=$(awk -v marker="<!-- file: $name -->" '
    $0 == marker { found = 1; next }
    found == 1 && /^```/ { found = 2; next }
    found == 2 && /^```$/ { exit }
    found == 2 { print }' "$manual")
  if [[ $block != "$(cat "$docs/$name")" ]]; then
    fail "the manual's copy of $name differs from the file:"
    diff <(printf '%s\n' "$block") "$docs/$name"
  fi
done

# Every key of the settings file has an entry "- `key`" in the manual.
keys=$(sed -n '/^_scrivlet_settings_keys="/,/"$/p' "$docs/scrivlet-completion.bash" |
  sed 's/^_scrivlet_settings_keys="//; s/"$//' | tr -s ' \n' '\n\n' | grep .)
[[ $(wc -l <<<"$keys") -eq 53 ]] || fail "the completion does not list the 53 settings keys"
# ... and the completion knows every key the settings file reads (the user
# tag keys are made in a loop there).
fields=$docs/../addin/settings_file.cc
read_keys=$(sed -n '/std::vector<SettingField> makeFields/,/^}/p' "$fields" |
  grep -o '\(flag\|number\)("[A-Za-z0-9]*"\|F{"[A-Za-z0-9]*"' | sed 's/.*"\(.*\)"/\1/')
[[ $(wc -l <<<"$read_keys") -gt 30 ]] || fail "cannot read the settings keys from $fields"
for key in $read_keys; do
  grep -qx -- "$key" <<<"$keys" || fail "the completion does not offer the settings key $key"
done
for key in $keys; do
  case $key in
    addUser[2-5] | user[2-5]Name | user[2-5]Default) continue ;;  # told with the first
  esac
  grep -q "^- \`$key\`" "$manual" || fail "the settings key $key is not documented"
done

# Every built-in macro: those the replace table applies to, as the engine
# lists them, and the others.
engine=$docs/../compiler/macro_engine.cc
macros=$(sed -n '/kReadOnly = {/,/};/p' "$engine" | grep -o '"[A-Z0-9-]*"' | tr -d '"')
[[ $(wc -l <<<"$macros") -gt 50 ]] || fail "cannot read the built-in macros from $engine"
for name in $macros TEMPLATE-PATH MEMBER-FILE REPLACE-ON REPLACE-OFF DOLIST END-DOLIST \
    IFNOTEMPTY ELSEIF END-IFNOTEMPTY SPLIT MEMBER-EXT PROJECT-EXT CONTENTS-EXT INDEX-EXT \
    REPLACE-TABLE EOL CODE END-CODE; do
  [[ $name == MEMBER-USER[234] ]] && continue  # "MEMBER-USER1 to MEMBER-USER5"
  grep -Fq -e "\`$name\`" -e "\`\$$name\$\`" "$manual" || fail "the macro $name is not documented"
done
for section in title project contents index group-project group-contents stdmodule form \
    object method function property event variable constant; do
  grep -Fq "\`scriv-$section-body\`" "$manual" || fail "the section scriv-$section-body is not documented"
done

# The rendered page: no HTML left out, and no link into it that leads nowhere.
grep -q 'omitted' "$html" && fail "cmark left something out of $html"
ids=$(grep -o ' id="[^"]*"' "$html" | sed 's/ id="//; s/"$//' | sort)
for twice in $(uniq -d <<<"$ids"); do fail "two headings have the id $twice"; done
for target in $(grep -o 'href="#[^"]*"' "$html" | sed 's/href="#//; s/"$//' | sort -u); do
  grep -qx -- "$target" <<<"$ids" || fail "the link #$target leads to no heading"
done
[[ $failed -eq 0 ]] && echo "the manual is consistent"
exit $failed
