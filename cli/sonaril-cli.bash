# bash completion for sonaril-cli: its commands, each command's options, the values of
# --format and --rate, and the files each command reads (.ton settings, recordings).
# Needs nothing but bash itself.

# Folders, and the files whose extension is one of $1 (any file when $1 is empty).
_sonaril_cli_files() {
  local extensions="$1" cur="$2" name extension
  local IFS=$'\n'
  COMPREPLY+=($(compgen -d -S / -- "$cur"))
  for name in $(compgen -f -- "$cur"); do
    [ -d "$name" ] && continue
    [ -z "$extensions" ] && COMPREPLY+=("$name") && continue
    IFS=' '
    for extension in $extensions; do
      [[ "${name,,}" == *."$extension" ]] && COMPREPLY+=("$name") && break
    done
    IFS=$'\n'
  done
}

_sonaril_cli() {
  local cur="${COMP_WORDS[COMP_CWORD]}" prev="${COMP_WORDS[COMP_CWORD-1]}"
  local command="${COMP_WORDS[1]}"
  COMPREPLY=()
  compopt -o filenames -o nospace 2>/dev/null
  if [ "$COMP_CWORD" -eq 1 ]; then
    compopt +o nospace 2>/dev/null
    COMPREPLY=($(compgen -W "render info import dtmf mf analyze check --help --version" -- "$cur"))
    return
  fi
  local options formats="wav mulaw alaw"
  case "$command" in
    render) options="-h --help -o --output --format -q --quiet"
            formats="wav mulaw alaw wav-mulaw wav-alaw" ;;
    info) options="-h --help --json --tone-string" ;;
    import) options="-h --help -o --output --rate --level --dbm0 --repeat --hold" ;;
    dtmf) options="-h --help -o --output --on --off --pause --dbm0 --level --twist --offset --rate" ;;
    mf) options="-h --help -o --output --on --off --pause --kp --dbm0 --level --twist --offset --rate" ;;
    analyze) options="-h --help --format --rate --channel --json -o" ;;
    check) options="-h --help --format --rate --channel --tolerance-frequency --tolerance-cadence --tolerance-level --absolute-levels --json" ;;
    *) return ;;
  esac
  case "$prev" in
    --format) compopt +o nospace 2>/dev/null; COMPREPLY=($(compgen -W "$formats" -- "$cur")); return ;;
    --rate) compopt +o nospace 2>/dev/null; COMPREPLY=($(compgen -W "8000 16000 32000 44100 48000 96000" -- "$cur")); return ;;
    -o|--output)
      if [ "$command" = render ]; then _sonaril_cli_files "" "$cur"; else _sonaril_cli_files ton "$cur"; fi
      return ;;
    --level|--dbm0|--repeat|--hold|--on|--off|--pause|--kp|--twist|--offset|--tolerance-frequency|--tolerance-cadence|--tolerance-level) return ;;
  esac
  if [[ "$cur" == -* ]]; then
    compopt +o nospace 2>/dev/null
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi
  case "$command" in
    render|info) _sonaril_cli_files ton "$cur" ;;
    analyze) _sonaril_cli_files "wav ul al ulaw alaw raw" "$cur" ;;
    check) _sonaril_cli_files "wav ul al ulaw alaw raw ton" "$cur" ;;
  esac
}
complete -F _sonaril_cli sonaril-cli
