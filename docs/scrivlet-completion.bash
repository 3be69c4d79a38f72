# Bash completion for scrivlet: commands, options, the shipped templates by
# name, settings keys after --set, and FILE:LINE module positions.
# Installed as share/bash-completion/completions/scrivlet; to try it from a
# source tree: source docs/scrivlet-completion.bash

_scrivlet_commands="comment compile copy-code elements settings template trust"
_scrivlet_templates="chm html markdown markdown-pages rtf"
_scrivlet_modules='@(bas|cls|frm|ctl|dob|pag|dsr)'
_scrivlet_settings_keys="addSee addParam addReturn addDescription addRem addSame
 addAuthor addRevision addVersion addIncludeSource addUser1 addUser2 addUser3
 addUser4 addUser5 user1Name user2Name user3Name user4Name user5Name
 user1Default user2Default user3Default user4Default user5Default
 comNonCommented comPublic comPrivate comFriend comEvent comMethod
 comStdModule comObject comForm comProperty comVariable comConstant
 comContextID comWriteDescription indentMode addingMode insertSourceGlobal
 autoUpdateParams wordWrapLength autoInsertEOL titlePageText outputPath
 templateFolder templatePath comModules comEnum comType codePage"

# Files whose names match the extended glob PATTERN (case-insensitive), and
# folders to descend into, each folder with a trailing slash.
_scrivlet_files() {
  local cur=$1 pattern=$2 entry
  local restore
  restore=$(shopt -p extglob nocasematch)
  shopt -s extglob nocasematch
  while IFS= read -r entry; do
    [[ -z $entry ]] && continue
    if [[ -d $entry ]]; then
      COMPREPLY+=("$entry/")
    elif [[ -z $pattern || $entry == $pattern ]]; then
      COMPREPLY+=("$entry")
    fi
  done < <(compgen -f -- "$cur")
  eval "$restore"
}

# Module files followed by a colon, so that the line number comes next.
_scrivlet_module_positions() {
  local cur=$1 i
  [[ $cur == *:* ]] && return 0  # the line number: nothing to offer
  _scrivlet_files "$cur" "*.$_scrivlet_modules"
  for i in "${!COMPREPLY[@]}"; do
    [[ ${COMPREPLY[i]} != */ ]] && COMPREPLY[i]+=":"
  done
}

_scrivlet_add_words() {
  local cur=$1
  shift
  local word
  for word in $*; do
    [[ $word == "$cur"* ]] && COMPREPLY+=("$word")
  done
}

_scrivlet() {
  COMPREPLY=()
  # Split the line on blanks only: bash also breaks words at ":" and "=",
  # which would cut "modMath.bas:12" and "--set key=value" apart.
  local line=${COMP_LINE:0:COMP_POINT} words=()
  read -r -a words <<<"$line"
  [[ -z $line || $line == *[[:blank:]] ]] && words+=("")
  local cur=${words[${#words[@]} - 1]}
  local prev=${words[${#words[@]} - 2]}

  # The command, and for "comment" its subcommand.
  local command="" sub="" i
  for ((i = 1; i < ${#words[@]} - 1; i++)); do
    case ${words[i]} in
      -*) ;;
      *)
        if [[ -z $command ]]; then
          command=${words[i]}
        elif [[ $command == comment && -z $sub ]]; then
          sub=${words[i]}
          break
        fi
        ;;
    esac
  done

  if [[ -z $command ]]; then
    if [[ $cur == -* ]]; then
      _scrivlet_add_words "$cur" "--help --version"
    else
      _scrivlet_add_words "$cur" "$_scrivlet_commands"
    fi
  else
    case $command:$prev in
      compile:--template)
        _scrivlet_add_words "$cur" "$_scrivlet_templates"
        _scrivlet_files "$cur" "*.scvt"
        ;;
      compile:--output | template:--output)
        mapfile -t COMPREPLY < <(compgen -d -S / -- "$cur")
        ;;
      *:--project)
        _scrivlet_files "$cur" "*.vbp"
        ;;
      settings:--set)
        local key
        for key in $_scrivlet_settings_keys; do
          [[ $key == "$cur"* ]] && COMPREPLY+=("$key=")
        done
        ;;
      *)
        _scrivlet_complete_argument "$command" "$sub" "$cur"
        ;;
    esac
  fi

  # Bash replaces only the text after the last ":" or "=" of the word; the
  # offers hold the whole word.
  local broken=${cur%"${cur##*[:=]}"}
  if [[ -n $broken ]]; then
    for i in "${!COMPREPLY[@]}"; do
      COMPREPLY[i]=${COMPREPLY[i]#"$broken"}
    done
  fi
  # A folder, a "FILE:" or a "KEY=" goes on; anything else ends the word.
  for i in "${COMPREPLY[@]}"; do
    if [[ $i == */ || $i == *: || $i == *= ]]; then
      compopt -o nospace 2>/dev/null
      break
    fi
  done
}

# The options and arguments of one command.
_scrivlet_complete_argument() {
  local command=$1 sub=$2 cur=$3
  if [[ $command == compile && $cur == --messages=* ]]; then
    _scrivlet_add_words "$cur" "--messages=json"
    return 0
  fi
  if [[ $command == compile && $cur == --template=* ]]; then
    local i
    _scrivlet_add_words "${cur#--template=}" "$_scrivlet_templates"
    _scrivlet_files "${cur#--template=}" "*.scvt"
    for i in "${!COMPREPLY[@]}"; do
      COMPREPLY[i]="--template=${COMPREPLY[i]}"
    done
    return 0
  fi
  case $command in
    compile)
      if [[ $cur == -* ]]; then
        _scrivlet_add_words "$cur" "--template --output --quiet --werror
          --messages=json --allow-commands --write-outside-project --help"
      else
        _scrivlet_files "$cur" "*.@(vbp|vbg)"
      fi
      ;;
    elements | settings)
      if [[ $cur == -* ]]; then
        [[ $command == settings ]] && _scrivlet_add_words "$cur" "--set"
        _scrivlet_add_words "$cur" "--help"
      else
        _scrivlet_files "$cur" "*.@(vbp|vbg)"
      fi
      ;;
    comment)
      if [[ -z $sub ]]; then
        _scrivlet_add_words "$cur" "add update"
      elif [[ $cur == -* ]]; then
        [[ $sub == update ]] && _scrivlet_add_words "$cur" "--all --dry-run --check"
        [[ $sub == add ]] && _scrivlet_add_words "$cur" "--force"
        _scrivlet_add_words "$cur" "--project --help"
      elif [[ $sub == update && " ${COMP_LINE} " == *" --all "* ]]; then
        _scrivlet_files "$cur" "*.vbp"
      else
        _scrivlet_module_positions "$cur"
      fi
      ;;
    copy-code)
      if [[ $cur == -* ]]; then
        _scrivlet_add_words "$cur" "--help"
      else
        _scrivlet_files "$cur" "*.$_scrivlet_modules"
      fi
      ;;
    template)
      if [[ $cur == -* ]]; then
        _scrivlet_add_words "$cur" "--list --output --help"
      elif [[ " ${COMP_LINE} " == *" --list "* ]]; then
        mapfile -t COMPREPLY < <(compgen -d -S / -- "$cur")
      else
        _scrivlet_files "$cur" "*.scvt"
      fi
      ;;
    trust)
      if [[ $cur == -* ]]; then
        _scrivlet_add_words "$cur" "--help"
      else
        _scrivlet_files "$cur" "*.scvt"
      fi
      ;;
  esac
}

complete -F _scrivlet scrivlet
