# shellcheck shell=bash
# Extra apt entries for Debian's bookworm suites that the build needs, written
# from the machine's own apt configuration: the archive URI and keyring are
# those of the entry that already serves bookworm main, so no archive is named
# here. Sourced by install-packages.sh; the functions return 1 when no such
# entry exists.

# Prints "URI KEYRING" of the apt entry serving bookworm main (deb822 files
# first, then one-line lists); KEYRING is "-" when the entry names none.
orvex_debian_archive() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -r "$f" ] || continue
    case $f in */orvex-*) continue ;; esac
    awk -v RS= '
      {
        types = ""; uris = ""; suites = ""; comps = ""; key = "-"
        n = split($0, line, "\n")
        for (i = 1; i <= n; i++) {
          if (line[i] ~ /^#/) continue
          split(line[i], kv, ":[ \t]*")
          v = substr(line[i], length(kv[1]) + 2); sub(/^[ \t]+/, "", v)
          if (kv[1] == "Types") types = v
          else if (kv[1] == "URIs") uris = v
          else if (kv[1] == "Suites") suites = v
          else if (kv[1] == "Components") comps = v
          else if (kv[1] == "Signed-By") key = v
        }
        if ((" " types " ") ~ / deb / && (" " suites " ") ~ / bookworm / &&
            (" " comps " ") ~ / main / && uris != "") {
          split(uris, u, " "); print u[1], key; exit 0
        }
      }' "$f" | grep . && return 0
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -r "$f" ] || continue
    case $f in */orvex-*) continue ;; esac
    awk '
      $1 == "deb" {
        key = "-"; i = 2
        if ($2 ~ /^\[/) {
          for (; i <= NF; i++) {
            if ($i ~ /signed-by=/) { key = $i; sub(/.*signed-by=/, "", key); sub(/\]$/, "", key) }
            if ($i ~ /\]$/) { i++; break }
          }
        }
        if ($(i + 1) == "bookworm") {
          for (j = i + 2; j <= NF; j++) if ($j == "main") { print $i, key; exit 0 }
        }
      }' "$f" | grep . && return 0
  done
  return 1
}

# orvex_apt_entry FILE TYPES SUITE: writes (or rewrites when it differs) an
# entry for SUITE main from the archive above. Prints "changed" when it wrote.
orvex_apt_entry() {
  local file=$1 types=$2 suite=$3 archive uri key text
  archive=$(orvex_debian_archive) || {
    echo "install-packages: no apt entry serves Debian bookworm main; cannot add $suite ($types)" >&2
    return 1
  }
  read -r uri key <<< "$archive"
  text="Types: $types
URIs: $uri
Suites: $suite
Components: main"
  [ "$key" = - ] || text+="
Signed-By: $key"
  if [ "$(cat "$file" 2>/dev/null)" != "$text" ]; then
    printf '%s\n' "$text" > "$file"
    echo changed
  fi
}
