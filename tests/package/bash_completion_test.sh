#!/usr/bin/env bash
# The bash completion of cps530-cli offers the verbs, each verb's options and
# the setting names after get and set, as a user pressing Tab sees them.
#   bash_completion_test.sh COMPLETION_FILE
set -uo pipefail
# shellcheck source=/dev/null
source "$1"

passed=0
failed=0
# complete "WORDS BEFORE THE CURSOR" "WORD AT THE CURSOR" EXPECTED... (!EXPECTED: must not be offered)
complete_case() {
  local line=$1 cur=$2
  shift 2
  read -r -a COMP_WORDS <<<"$line"
  COMP_WORDS+=("$cur")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _cps530_cli
  local offered=" ${COMPREPLY[*]} " want ok=1
  for want in "$@"; do
    if [[ $want == '!'* ]]; then
      [[ $offered == *" ${want#!} "* ]] && ok=0
    elif [[ $offered != *" $want "* ]]; then
      ok=0
    fi
  done
  if ((ok)); then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: '$line $cur<Tab>' offered:$offered; expected: $*" >&2
  fi
}

complete_case "cps530-cli" "" new show dump edit get set read write info pack unpack
complete_case "cps530-cli" "s" show set !new
complete_case "cps530-cli" "--" --lang --version --help
complete_case "cps530-cli --lang" "" en zh
complete_case "cps530-cli --lang zh" "re" read
complete_case "cps530-cli read" "--p" --port --password
complete_case "cps530-cli write" "--v" --verify
complete_case "cps530-cli new" "--" --output --model --band --init-dir --initialise --lang
complete_case "cps530-cli new --model" "" TW530 TW530G
complete_case "cps530-cli get radio.dat" "options.sq" options.squelch
complete_case "cps530-cli get radio.dat options.squelch" "scan." scan.mode
complete_case "cps530-cli set radio.dat" "options.vo" options.voice-prompt options.voice-volume
# After a name comes its value, not another name.
complete_case "cps530-cli set radio.dat options.squelch" "options." !options.squelch
complete_case "cps530-cli set radio.dat options.squelch 5" "options.sq" options.squelch
complete_case "cps530-cli --lang en set radio.dat" "options.sq" options.squelch
complete_case "cps530-cli edit radio.dat 3" "r" rx relation
complete_case "cps530-cli read --port" "COM1" COM1 COM10

echo "$passed passed, $failed failed"
((failed == 0))
