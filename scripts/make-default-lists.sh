#!/usr/bin/env bash
# Regenerates the lists that ship with Orbwell, resources/lists/AdBlockURLs.txt and
# resources/lists/AdBlockWhitelistURLs.txt, from EasyList and EasyPrivacy as Debian ships them in the
# package webext-ublock-origin-chromium (fetched with apt-get download; nothing else is downloaded).
#
#   bash scripts/make-default-lists.sh            # fetch the package, convert, write resources/lists/
#   bash scripts/make-default-lists.sh DIR        # convert DIR/easylist.txt and DIR/easyprivacy.txt
#
# Orbwell's entries are plain fragments: a URL is blocked when it contains one, ignoring case. Only
# filter rules that such a fragment can stand for are kept; everything else is left out:
#
#   ||host^            -> host/          every URL on host or a subdomain of it (a browser's URL always
#                                        has "/" after the host). Not covered: the host with an explicit
#                                        port. Also matches a host that merely ends in the same text
#                                        ("xhost/"), the one looseness kept to stay within one entry.
#   ||host/path        -> host/path      (no "*", "^" or "|" after the host)
#   plain text         -> the same text  (ABP rules without anchors are case-insensitive substrings;
#                                        a leading or trailing "*" is dropped, one inside skips the rule)
#   skipped:           comments (!), headers ([...]), cosmetic and scriptlet rules (##, #@#, #?#, #$#,
#                      #%#, #+js), exceptions (@@), regular expressions (/.../), every rule with
#                      options ($third-party, $script, $domain=..., ...: the matcher sees neither the
#                      page nor the resource type), rules with "^" or "|" other than the forms above,
#                      entries shorter than 4 characters, anything not printable ASCII.
#   redundant:         a host whose parent domain is listed too ("ads.example.com/" beside "example.com/").
#   shortened:         two host entries are written as shorter fragments that still match their hosts:
#                      "gas-sensing.s" and "pec-sensors.actonservice.com/".
#
# The whitelist holds "orbwell://" (the program's own pages) and "://host/" for every rule of the form
# @@||host^$document (a page exempt from blocking; kept to exactly that host).
#
# Output: sorted (byte order), no duplicates, CR LF after every entry, ASCII without a byte-order mark,
# exactly as the program writes a list in the ANSI code page.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/resources/lists"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ $# -ge 1 ]; then
  src=$(cd "$1" && pwd)
else
  fetch() { (cd "$work" && apt-get download webext-ublock-origin-chromium >/dev/null 2>&1); }
  if ! fetch; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    fetch
  fi
  dpkg -x "$work"/webext-ublock-origin-chromium_*.deb "$work/x"
  src=$(dirname "$(find "$work/x" -type f -path '*/thirdparties/easylist/easylist.txt' | head -n 1)")
  version=$(dpkg-deb -f "$work"/webext-ublock-origin-chromium_*.deb Version)
  echo "Source: webext-ublock-origin-chromium $version"
fi
for f in easylist.txt easyprivacy.txt; do
  [ -f "$src/$f" ] || { echo "missing $src/$f" >&2; exit 1; }
done

cat "$src/easylist.txt" "$src/easyprivacy.txt" | tr -d '\r' | LC_ALL=C awk '
  function emit(s) { if (length(s) >= 4 && s ~ /^[!-~]+$/) print s }
  {
    line = $0
    sub(/^[ \t]+/, "", line); sub(/[ \t]+$/, "", line)
    if (line == "" || line ~ /^[![]/) next
    if (line ~ /#[@?$%+]?#/ || line ~ /#\+js/) next
    if (line ~ /^@@/ || line ~ /\$/) next
    if (length(line) > 2 && line ~ /^\/.*\/$/) next
    if (line ~ /^\|\|[A-Za-z0-9._-]+\^$/) {
      host = tolower(substr(line, 3, length(line) - 3))
      print "H " host
      next
    }
    if (line ~ /^\|\|[A-Za-z0-9._-]+\/[^*^|]*$/) { emit(substr(line, 3)); next }
    sub(/^\*+/, "", line); sub(/\*+$/, "", line)
    if (line ~ /[*^|]/) next
    emit(line)
  }' > "$work/rules"

# Hosts first, so a subdomain can be dropped when its parent domain is listed.
LC_ALL=C awk '
  NR == FNR { if ($1 == "H") hosts[$2] = 1; next }
  $1 == "H" {
    h = $2; redundant = 0
    while ((i = index(h, ".")) > 0) {
      h = substr(h, i + 1)
      if (index(h, ".") > 0 && (h in hosts)) { redundant = 1; break }
    }
    if (!redundant) print $2 "/"
    next
  }
  { print }' "$work/rules" "$work/rules" \
  | sed -e 's#^gas-sensing\.s[a-z]*-sensors\.com/$#gas-sensing.s#' \
        -e 's#^s\(pec-sensors\.actonservice\.com/\)$#\1#' \
  | LC_ALL=C sort -u | sed 's/$/\r/' > "$work/AdBlockURLs.txt"

{
  echo "orbwell://"
  cat "$src/easylist.txt" "$src/easyprivacy.txt" | tr -d '\r' \
    | sed -n 's/^@@||\([A-Za-z0-9.-]*\)^\$document$/:\/\/\1\//p' | tr 'A-Z' 'a-z'
} | LC_ALL=C sort -u | sed 's/$/\r/' > "$work/AdBlockWhitelistURLs.txt"

mkdir -p "$out"
mv "$work/AdBlockURLs.txt" "$work/AdBlockWhitelistURLs.txt" "$out/"
echo "AdBlockURLs.txt: $(wc -l < "$out/AdBlockURLs.txt") entries, $(wc -c < "$out/AdBlockURLs.txt") bytes"
echo "AdBlockWhitelistURLs.txt: $(wc -l < "$out/AdBlockWhitelistURLs.txt") entries"
