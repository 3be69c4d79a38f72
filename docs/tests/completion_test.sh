#!/bin/bash
# Sources the bash completion of scrivlet and checks what it offers for a few
# command lines, in a folder laid out like a small project.
# Usage: completion_test.sh COMPLETION_FILE
set -u
completion=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir -p sub Templates
touch Calc.vbp Group.vbg modMath.bas Calculator.cls frmCalc.frm CALC2.BAS notes.txt \
  mine.scvt sub/Viewer.ctl sub/Page.pag
# shellcheck source=/dev/null
source "$completion"

failures=0
# expect LINE EXPECTED: the offers for LINE (cursor at its end), sorted and
# joined by blanks.
expect() {
  COMP_LINE=$1
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _scrivlet
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd' ')
  if [[ $got != "$2" ]]; then
    printf 'FAIL: "%s"\n  expected: %s\n  got:      %s\n' "$1" "$2" "$got"
    failures=$((failures + 1))
  fi
}

expect "scrivlet " "comment compile copy-code elements settings template trust"
expect "scrivlet co" "comment compile copy-code"
expect "scrivlet --v" "--version"
expect "scrivlet compile --" "--allow-commands --help --messages=json --output --quiet --template --werror --write-outside-project"
expect "scrivlet compile --template " "Templates/ chm html markdown markdown-pages mine.scvt rtf sub/"
expect "scrivlet compile --template h" "html"
expect "scrivlet compile --template=m" "markdown markdown-pages mine.scvt"
expect "scrivlet compile --messages=" "json"
expect "scrivlet compile " "Calc.vbp Group.vbg Templates/ sub/"
expect "scrivlet compile Calc.vbp --output s" "sub/"
expect "scrivlet comment " "add update"
expect "scrivlet comment add " "CALC2.BAS: Calculator.cls: Templates/ frmCalc.frm: modMath.bas: sub/"
expect "scrivlet comment add m" "modMath.bas:"
expect "scrivlet comment add sub/" "sub/Page.pag: sub/Viewer.ctl:"
expect "scrivlet comment add modMath.bas:" ""
expect "scrivlet comment add modMath.bas:1" ""
expect "scrivlet comment update --all " "Calc.vbp Templates/ sub/"
expect "scrivlet comment update --d" "--dry-run"
expect "scrivlet comment update --" "--all --check --dry-run --help --project"
expect "scrivlet comment add --" "--force --help --project"
expect "scrivlet comment add --project " "Calc.vbp Templates/ sub/"
expect "scrivlet settings Calc.vbp --set comP" "comPrivate= comProperty= comPublic="
expect "scrivlet settings Calc.vbp --set co" "codePage= comConstant= comContextID= comEnum= comEvent= comForm= comFriend= comMethod= comModules= comNonCommented= comObject= comPrivate= comProperty= comPublic= comStdModule= comType= comVariable= comWriteDescription="
expect "scrivlet settings Calc.vbp --set outputPath=" ""
expect "scrivlet copy-code f" "frmCalc.frm"
expect "scrivlet trust " "Templates/ mine.scvt sub/"
expect "scrivlet trust --" "--help"
expect "scrivlet template --list " "Templates/ sub/"

[[ $failures -eq 0 ]] && echo "all completions as expected"
exit $((failures > 0))
