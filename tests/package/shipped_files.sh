# Sourced by the package tests. shipped_data_files <source root>: the data files both
# packages ship beside the programs, as paths inside the program's folder.
shipped_data_files() {
  (cd "$1" && find examples tones -name '*.ton' && echo tones/README.md) | sort
}
