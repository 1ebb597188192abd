#!/bin/sh
# The generated completion scripts load in their shells, and bash completes a
# partial option, a word choice after "=" and textures after -i.
#   CompletionTest.sh BUILD-FOLDER
set -e
dir=$(cd "$1" && pwd)/completion
fail() { echo "FAIL: $*"; exit 1; }
bash -n "$dir/tarvix.bash" || fail "bash cannot read tarvix.bash"
if command -v zsh >/dev/null; then zsh -n "$dir/_tarvix" || fail "zsh cannot read _tarvix"; fi
if command -v fish >/dev/null; then fish -n "$dir/tarvix.fish" || fail "fish cannot read tarvix.fish"; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/walls" && : > "$work/rock.dds" && : > "$work/ROCK2.DDS" && : > "$work/notes.txt"
cd "$work"
# Each case: the words typed (the last is being completed), and what must be
# offered, one per line, sorted.
bash -c '
. "$1"
check() {
    expected=$1; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _tarvix
    got=$(printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " ")
    [ "$got" = "$expected" ] || { echo "FAIL: $* -> [$got], wanted [$expected]"; exit 1; }
}
# A partial option; "=" split off as bash splits it, and kept in one word.
check "--jpg-chroma= " tarvix --jpg-c
check "--jpg-quality= " tarvix --jpg-q
check "high low medium none " tarvix --jpg-chroma = ""
check "high " tarvix --jpg-chroma = h
check "--jpg-chroma=low " tarvix --jpg-chroma=lo
check "jpg " tarvix -c j
# Textures and folders after -i, folders only after -o.
check "ROCK2.DDS rock.dds walls/ " tarvix -i ""
check "walls " tarvix -o ""
check "-i " tarvix -i
' sh "$dir/tarvix.bash"
# fish, where installed: the same choices through its own completer.
if command -v fish >/dev/null; then
    got=$(fish -c ". '$dir/tarvix.fish'; complete -C 'tarvix --jpg-chroma=h'" | cut -f1)
    [ "$got" = "--jpg-chroma=high" ] || fail "fish: --jpg-chroma=h -> [$got]"
    got=$(fish -c ". '$dir/tarvix.fish'; complete -C 'tarvix -i '" | cut -f1 | sort | tr '\n' ' ')
    [ "$got" = "ROCK2.DDS rock.dds walls/ " ] || fail "fish: -i -> [$got]"
fi
echo "completion scripts: ok"
