# bash completion for quorix-cli. The options are read from the program's own
# --help, so they follow the program without edits here.
_quorix_cli() {
  local cur prev cmd i
  COMPREPLY=()
  cur="${COMP_WORDS[COMP_CWORD]}"
  prev="${COMP_WORDS[COMP_CWORD-1]}"
  for ((i = 1; i < COMP_CWORD; i++)); do
    case "${COMP_WORDS[i]}" in
      -*) ;;
      *) cmd="${COMP_WORDS[i]}"; break ;;
    esac
  done
  if [[ -z "$cmd" ]]; then
    COMPREPLY=($(compgen -W "info render save saveall convert correct xrdml smooth interpolate diff add edit density odf figure --help --version" -- "$cur"))
    return
  fi
  case "$prev" in
    --standard) COMPREPLY=($(compgen -W "DUBNA DAHMS CLAUSTHAL POPLA" -- "$cur")); return ;;
    --coords) COMPREPLY=($(compgen -W "equal-area equal-angular polar" -- "$cur")); return ;;
    --section) COMPREPLY=($(compgen -W "X Y Z" -- "$cur")); return ;;
    --crystal) COMPREPLY=($(compgen -W "triclinic monoclinic orthorhombic tetragonal-low tetragonal trigonal-low trigonal hexagonal-low hexagonal cubic-low cubic" -- "$cur")); return ;;
    --sample) COMPREPLY=($(compgen -W "triclinic monoclinic orthorhombic" -- "$cur")); return ;;
    --style) COMPREPLY=($(compgen -W "filled smooth lines" -- "$cur")); return ;;
    --colormap) COMPREPLY=($(compgen -W "viridis white-red grey" -f -- "$cur")); return ;;
    --projection) COMPREPLY=($(compgen -W "stereographic equal-area" -- "$cur")); return ;;
    --to) COMPREPLY=($(compgen -W "beartex geesthacht popla xrdml ascii" -- "$cur")); return ;;
  esac
  if [[ "$cur" == -* ]]; then
    local opts
    opts=$("${COMP_WORDS[0]}" "$cmd" --help 2>/dev/null | grep -oE -- '--[a-z0-9-]+' | sort -u)
    COMPREPLY=($(compgen -W "$opts" -- "$cur"))
    return
  fi
  if [[ "$prev" == "$cmd" ]]; then
    case "$cmd" in
      saveall) COMPREPLY=($(compgen -W "beartex geesthacht popla" -- "$cur")); return ;;
      add) COMPREPLY=($(compgen -W "weighted fitted" -- "$cur")); return ;;
    esac
  fi
  case "$prev" in
    --tilt-start|--tilt-step) return ;;
  esac
  COMPREPLY=($(compgen -f -- "$cur"))
  compopt -o filenames 2>/dev/null
}
complete -F _quorix_cli quorix-cli
