# Bash completion for palvenor-cli: its options, folders after --output and --list, any file after
# --bad-map, DBX files and folders otherwise.
_palvenor_cli() {
  local current=${COMP_WORDS[COMP_CWORD]}
  local previous=${COMP_WORDS[COMP_CWORD - 1]}
  if [[ $previous == --output || $previous == --list ]]; then
    mapfile -t COMPREPLY < <(compgen -d -- "$current")
  elif [[ $previous == --bad-map ]]; then
    mapfile -t COMPREPLY < <(compgen -f -- "$current")
  elif [[ $current == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W '--output --no-pointer-check --no-freed --no-index --quiet --bad-map --list --deleted-only --help --version' -- "$current")
  else
    mapfile -t COMPREPLY < <(compgen -d -- "$current"; compgen -f -X '!*.[dD][bB][xX]' -- "$current")
  fi
}
complete -o filenames -F _palvenor_cli palvenor-cli
