#!/usr/bin/env bash
# The manual pages and the bash completion say what the programs' --help
# says: every command, option and exit status. --help and --version are
# asked with no display at all.
#   help_in_step.sh ORB5610 ORB5610CTL PACKAGING_DIR
set -u
program=$1
ctl=$2
packaging=$3
status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}

nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

# A section of --help: the lines after its heading up to the next blank line.
help_section() { awk -v h="$2" '$0 == h {on = 1; next} on && /^$/ {exit} on' <<<"$1"; }
# A section of a manual page, with roff's escapes for hyphens and fonts gone.
man_section() {
  sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$1" | awk -v h=".SH $2" '$0 == h {on = 1; next} on && /^\.SH/ {exit} on'
}
# Options named in the left column of a help section.
help_options() { grep -E '^  +-' | sed -E 's/^ +//; s/  .*//' | grep -oE -- '--?[a-zA-Z][a-zA-Z-]*' | sort -u; }
man_options() { grep -E '^\.(B|BI|BR) ' | grep -oE -- '(^|[ "])--?[a-zA-Z][a-zA-Z-]*' | tr -d ' "' | sort -u; }
help_statuses() { grep -oE '^  +[0-9]+  ' | tr -d ' ' | sort -u; }
man_statuses() { grep -oE '^\.B [0-9]+$' | cut -d' ' -f2 | sort -u; }
# Commands in the left column: the first word, and a sub-command after it.
help_commands() {
  grep -E '^  [a-z]' | sed -E 's/^ +//; s/  .*//' |
    awk '{c = $1; if ($2 ~ /^[a-z]+$/) c = c " " $2; print c}' | sort -u
}

compare() { # what, from help, from the other, [the other's name]
  local missing extra other=${4:-the manual page}
  missing=$(comm -23 <(echo "$2") <(echo "$3"))
  extra=$(comm -13 <(echo "$2") <(echo "$3"))
  [ -z "$missing" ] || fail "$1 in --help but not in $other: $(echo $missing)"
  [ -z "$extra" ] || fail "$1 in $other but not in --help: $(echo $extra)"
}

for exe in "$program" "$ctl"; do
  name=$(basename "$exe")
  page="$packaging/man/$name.1"
  help=$(nodisplay "$exe" --help) || fail "$name --help failed without a display"
  version=$(nodisplay "$exe" --version) || fail "$name --version failed without a display"
  [[ $version =~ ^$name\ [0-9]+\.[0-9]+ ]] || fail "$name --version printed '$version'"
  # A --help that prints nothing would leave nothing below to compare.
  if [ -z "$help" ]; then
    fail "$name --help printed nothing"
    continue
  fi

  compare "$name options" "$(help_section "$help" "Options:" | help_options)" \
    "$(man_section "$page" OPTIONS | man_options)"
  compare "$name exit statuses" "$(help_section "$help" "Exit status:" | help_statuses)" \
    "$(man_section "$page" "EXIT STATUS" | man_statuses)"
  commands=$(help_section "$help" "Commands:" | help_commands)
  for c in $(echo "$commands" | tr ' ' '_'); do
    c=${c//_/ }
    man_section "$page" COMMANDS | grep -Eq "^\.(B|BI|BR) \"?$c( |\"|$)" ||
      fail "$name command '$c' is not in the manual page"
  done
done

# The completion offers every command, sub-command and long option of --help.
ctl_help=$(nodisplay "$ctl" --help)
commands=$(help_section "$ctl_help" "Commands:" | help_commands)
options=$(help_section "$ctl_help" "Options:" | help_options | grep -- '^--')
offered() { # words on the line, the last being completed
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _orb5610ctl
           printf "%s\n" "${COMPREPLY[@]}"' _ "$packaging/orb5610ctl.bash-completion" orb5610ctl "$@" | sort -u
}
top=$(offered "")
while read -r first second; do
  [ -n "$first" ] || continue
  grep -qx -- "$first" <<<"$top" || fail "completion does not offer the command '$first'"
  if [ -n "$second" ]; then
    offered "$first" "" | grep -qx -- "$second" || fail "completion does not offer '$first $second'"
  fi
done <<<"$commands"
compare "orb5610ctl long options" "$options" "$(offered -- | grep -- '^--')" "the completion"
exit $status
