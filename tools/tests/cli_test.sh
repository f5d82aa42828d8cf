#!/usr/bin/env bash
# The command-line encoder as a user runs it: good pictures decode with djpeg,
# bad input gives one line on stderr, a non-zero exit and no output file; the
# conventions of command-line tools (help, version, "-" for standard input
# and output, "--"); the manual page says what --help says.
# Usage: cli_test.sh TOOL MANPAGE
set -u
tool=$1
manpage=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
ok() { passed=$((passed + 1)); }
bad() { failed=$((failed + 1)); echo "FAIL: $*"; }

ppm() { # width height file [bytes-per-pixel-source]
  { printf 'P6\n%d %d\n255\n' "$1" "$2"; head -c $(($1 * $2 * 3)) /dev/urandom; } > "$3"
}
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
bmp() { # width height bits file [top-down]
  local w=$1 h=$2 bits=$3 stride=$(( ($1 * $3 / 8 + 3) / 4 * 4 )) height=$2
  [ "${5:-}" = top-down ] && height=$(( (1 << 32) - $2 ))
  { printf 'BM'; le32 $((54 + stride * h)); le32 0; le32 54; le32 40; le32 "$w"; le32 "$height"
    printf '\x01\x00'; printf "\\x$(printf %02x "$bits")\\x00"; le32 0; le32 $((stride * h)); le32 0; le32 0; le32 0; le32 0
    head -c $((stride * h)) /dev/urandom; } > "$4"
}
decodes_to() { # jpeg width height components
  local header
  djpeg -outfile "$work/decoded" "$1" 2>/dev/null || { bad "$1 does not decode"; return; }
  header=$(head -c 2 "$work/decoded"; sed -n 2p "$work/decoded")
  local expected="P6$2 $3"; [ "$4" = 1 ] && expected="P5$2 $3"
  [ "$header" = "$expected" ] && ok || bad "$1 decodes as '$header', expected '$expected'"
}
fails() { # description expected-stderr-pattern args...
  local what=$1 pattern=$2; shift 2
  rm -f "$work/out.jpg"
  if "$tool" "$@" 2>"$work/err"; then bad "$what: succeeded"; return; fi
  [ "$(wc -l < "$work/err")" -ge 1 ] && grep -q -- "$pattern" "$work/err" && [ ! -e "$work/out.jpg" ] \
    && ok || bad "$what: stderr '$(cat "$work/err")'"
}

ppm 156 188 "$work/photo.ppm"
ppm 4000 3000 "$work/big.ppm"
for s in 1,1,1,1,1,1 2,2,1,1,1,1; do
  for p in photo:156:188 big:4000:3000; do
    IFS=: read -r name w h <<< "$p"
    "$tool" "$work/$name.ppm" "$work/$name-$s.jpg" --sampling "$s" --quality 80 && decodes_to "$work/$name-$s.jpg" "$w" "$h" 3 || bad "$name $s"
  done
done

bmp 33 17 24 "$work/b24.bmp"; "$tool" "$work/b24.bmp" "$work/b24.jpg" && decodes_to "$work/b24.jpg" 33 17 3
bmp 20 9 32 "$work/b32.bmp" top-down; "$tool" "$work/b32.bmp" "$work/b32.jpg" && decodes_to "$work/b32.jpg" 20 9 3
{ printf 'P5\n# grey\n31 7\n255\n'; head -c 217 /dev/urandom; } > "$work/g.pgm"
"$tool" "$work/g.pgm" "$work/g.jpg" --comment "Zoë" && decodes_to "$work/g.jpg" 31 7 1
grep -q "Zo$(printf '\xeb')" "$work/g.jpg" && ok || bad "comment not stored as a single byte"

echo keep > "$work/out.jpg"
"$tool" "$work/photo.ppm" "$work/out.jpg" 2>/dev/null && bad "replaced without --force" || { [ "$(cat "$work/out.jpg")" = keep ] && ok || bad "existing file changed"; }
"$tool" "$work/photo.ppm" "$work/out.jpg" --force && decodes_to "$work/out.jpg" 156 188 3
[ -z "$(ls "$work" | grep '\.new$')" ] && ok || bad "temporary file left behind"

fails "missing input" "cannot open" "$work/none.ppm" "$work/out.jpg"
head -c 100 "$work/b24.bmp" > "$work/short.bmp"
fails "truncated BMP" "truncated" "$work/short.bmp" "$work/out.jpg"
head -c 3000 "$work/photo.ppm" > "$work/short.ppm"
fails "truncated PPM" "truncated" "$work/short.ppm" "$work/out.jpg"
printf 'GIF89a....' > "$work/x.gif"
fails "unsupported format" "unsupported format" "$work/x.gif" "$work/out.jpg"
bmp 8 8 2 "$work/b2.bmp"
fails "2-bit BMP" "2 bits per pixel" "$work/b2.bmp" "$work/out.jpg"
fails "quality 0" "quality" "$work/photo.ppm" "$work/out.jpg" --quality 0
fails "quality text" "invalid quality" "$work/photo.ppm" "$work/out.jpg" --quality high
fails "sampling 5" "无效采样值" "$work/photo.ppm" "$work/out.jpg" --sampling 5,1,1,1,1,1
fails "sampling count" "six" "$work/photo.ppm" "$work/out.jpg" --sampling 1,1,1
fails "comment outside Latin-1" "error 6" "$work/photo.ppm" "$work/out.jpg" --comment "中"
# Overlong, a surrogate, above U+10FFFF, cut short.
for bytes in '\xc1\x81' '\xed\xa0\x80' '\xf4\x90\x80\x80' 'a\xe7\x85'; do
  fails "comment $bytes" "not valid UTF-8" "$work/photo.ppm" "$work/out.jpg" --comment "$(printf "$bytes")"
done
fails "missing folder" "error 76" "$work/photo.ppm" "$work/nowhere/out.jpg"
fails "no output" "need an input and an output" "$work/photo.ppm"
# A line break in a name or an option is shown as \n: the message stays one line.
"$tool" "$work/a
b.ppm" "$work/out.jpg" 2>"$work/err"
[ "$(wc -l < "$work/err")" = 1 ] && grep -qF 'a\nb.ppm' "$work/err" && ok || bad "file name: stderr '$(cat "$work/err")'"
"$tool" "--a
b" 2>"$work/err"
head -1 "$work/err" | grep -qF 'unknown option --a\nb' && ok || bad "option: stderr '$(head -2 "$work/err")'"

# Help and version on standard output, exit 0; wrong usage: the help on
# standard error, nothing on standard output, exit 2.
help=$("$tool" --help) && grep -q '^Usage: vardolin-jpeg \[OPTION\]\.\.\. IN OUT$' <<< "$help" && ok || bad "--help"
[ "$("$tool" -h)" = "$help" ] && ok || bad "-h differs from --help"
version=$("$tool" --version) && grep -q "^\.TH .*\"$version\"" "$manpage" && ok || bad "--version '$version' is not the manual page's"
for wrong in "--bogus" "-x" "--quality" "--force=yes" "--help=me" "only-one-file"; do
  "$tool" $wrong >"$work/stdout" 2>"$work/err"; status=$?
  [ $status -eq 2 ] && [ ! -s "$work/stdout" ] && grep -q '^Usage:' "$work/err" && ok || bad "'$wrong' gave status $status"
done

# "-" reads standard input (a pipe, or a file) and writes standard output;
# the bytes are those written to a file, and no file named "-" appears.
"$tool" "$work/photo.ppm" "$work/ref.jpg"
cat "$work/photo.ppm" | "$tool" - - > "$work/piped.jpg" && cmp -s "$work/piped.jpg" "$work/ref.jpg" && ok || bad "pipe to pipe"
"$tool" - "$work/redirected.jpg" < "$work/photo.ppm" && cmp -s "$work/redirected.jpg" "$work/ref.jpg" && ok || bad "redirected input"
(cd "$work" && "$tool" photo.ppm - > stdout.jpg) && cmp -s "$work/stdout.jpg" "$work/ref.jpg" && [ ! -e "$work/-" ] \
  && ok || bad "standard output"
script -qec "'$tool' '$work/photo.ppm' -" /dev/null > "$work/tty" 2>&1
grep -q "standard output is a terminal" "$work/tty" && [ "$(wc -l < "$work/tty")" -eq 1 ] && ok || bad "JPEG bytes sent to a terminal"
# Values after "=", and "--" before a file name that starts with "-".
"$tool" "$work/photo.ppm" - --quality=90 --sampling=1,1,1,1,1,1 > "$work/equals.jpg"
"$tool" "$work/photo.ppm" - --quality 90 --sampling 1,1,1,1,1,1 > "$work/spaced.jpg"
cmp -s "$work/equals.jpg" "$work/spaced.jpg" && ok || bad "--option=value"
cp "$work/photo.ppm" "$work/-dash.ppm"
(cd "$work" && "$tool" -- -dash.ppm -dash.jpg) && decodes_to "$work/-dash.jpg" 156 188 3

# The manual page names the same options, defaults and formats as --help.
options() { grep -oE -- '(^|[ ,(])(-h|--[a-z]+)' | tr -d ' ,(' | sort -u; }
page=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$manpage")
[ "$(options <<< "$help")" = "$(options <<< "$page")" ] && ok || bad "options: help '$(options <<< "$help" | xargs)', page '$(options <<< "$page" | xargs)'"
for words in "default 75" "2,2,1,1,1,1" "1,1,0,0,0,0" "65535" "PGM" "PPM" "PAM" "BMP" "PNG"; do
  grep -q -- "$words" <<< "$help" && grep -q -- "$words" <<< "$page" && ok || bad "'$words' not in both the help and the page"
done
if command -v groff >/dev/null; then
  [ -z "$(groff -man -ww -z "$manpage" 2>&1)" ] && ok || bad "groff warns about the manual page"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
