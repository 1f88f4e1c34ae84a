#!/usr/bin/env bash
# Completes command lines with the bash completion of ostrel-widgets (the file given, else the one in
# completions/) through bash-completion itself, and compares what it offers with a table; then has
# an interactive zsh (in a pseudo-terminal, with compinit) complete a few lines with the zsh one.
# Usage: completion-check.sh [BASH_FILE [ZSH_FOLDER]]
set -euo pipefail
cd "$(dirname "$0")/.."
file=${1:-completions/ostrel-widgets.bash}
# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
# shellcheck disable=SC1090
source "$file"

failures=0
# expect "WORDS BEFORE THE CURSOR" "EXPECTED OFFER" (the last word is the one being completed)
expect() {
  read -ra COMP_WORDS <<<"$1"
  [[ $1 == *' ' ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE=$1
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _ostrel_widgets ostrel-widgets "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  local got="${COMPREPLY[*]}"
  if [[ $got != "$2" ]]; then
    echo "completion of '$1': got '$got', expected '$2'" >&2
    failures=$((failures + 1))
  fi
}

expect "ostrel-widgets re" "render"
expect "ostrel-widgets --v" "--version"
expect "ostrel-widgets render --ki" "--kind"
expect "ostrel-widgets tree --kind " "NextUp DueSoon"
expect "ostrel-widgets render --family systemL" "systemLarge"
expect "ostrel-widgets render --scheme " "light dark"
expect "ostrel-widgets host --scheme " "auto light dark"
expect "ostrel-widgets host --corner bottom-" "bottom-left bottom-right"
expect "ostrel-widgets watch --format " "text short json waybar"
expect "ostrel-widgets watch --widget Due" "DueSoon:systemMedium DueSoon:systemLarge"
expect "ostrel-widgets host --re" "--remove-autostart --replace"
expect "ostrel-widgets check --f" "--feed"
expect "ostrel-widgets placeholder --" "--now --tz --json --help"
expect "ostrel-widgets tree --tz Australia/Syd" "Australia/Sydney"
((failures == 0)) || exit 1
echo "bash completion: as expected"

# zsh: what the terminal shows after one Tab (the characters inserted, or the list of choices) must
# hold the expected text.
zsh -f -s -- "${2:-completions}" <<'ZSH'
zmodload zsh/zpty
failures=0
expect() {
  zpty z zsh -f -i
  zpty -w z "PS1='> '; fpath=($1 \$fpath); autoload -U compinit; compinit -u"
  zpty -w z "$2"$'\t'
  local out= chunk tries=0
  while [[ $out != *"$3"* ]] && (( tries++ < 50 )); do
    zpty -rt z chunk && out+=$chunk || sleep 0.1
  done
  zpty -d z
  [[ $out == *"$3"* ]] || { print -u2 "zsh completion of '$2': no '$3'"; (( failures++ )); }
}
expect "$1" "ostrel-widgets ga" "llery"
expect "$1" "ostrel-widgets host --co" "rner"
expect "$1" "ostrel-widgets watch --format " "waybar"
expect "$1" "ostrel-widgets render --kind " "DueSoon"
(( failures == 0 )) || exit 1
print "zsh completion: as expected"
ZSH
