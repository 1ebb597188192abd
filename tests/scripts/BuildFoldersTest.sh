#!/bin/sh
# The package build never reconfigures the test build: run with stand-ins for
# cmake and cpack that only record what they were asked, the package script
# must configure a folder other than build/, and the test build script must
# configure build/ with the tests on, whatever ran before. (The fault this
# guards against: package.sh turned the tests off in build/, and a test
# edited to fail afterwards still "passed".)
set -eu
SOURCE=$1
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp -R "$SOURCE/scripts" "$WORK/scripts"
mkdir -p "$WORK/bin"
cat > "$WORK/bin/cmake" <<'STUB'
#!/bin/sh
echo "cmake $*" >> "$TARVIX_STUB_LOG"
while [ "$#" -gt 0 ]; do
  [ "$1" = "-B" ] && mkdir -p "$2"
  shift
done
STUB
cat > "$WORK/bin/cpack" <<'STUB'
#!/bin/sh
echo "cpack $*" >> "$TARVIX_STUB_LOG"
touch tarvix_0-1_amd64.deb
STUB
for tool in dpkg-shlibdeps fakeroot dpkg-architecture lintian; do
  printf '#!/bin/sh\nexit 0\n' > "$WORK/bin/$tool"
done
# Setting up: nothing to install here.
printf '#!/bin/sh\nexit 0\n' > "$WORK/scripts/setup.sh"
chmod +x "$WORK/bin/"*
export TARVIX_STUB_LOG="$WORK/log"
export PATH="$WORK/bin:$PATH"
cd "$WORK"
unset BUILD_DIR || true
sh scripts/package.sh > /dev/null
if grep -E -- '-B (\./)?build( |$)' "$WORK/log"; then
  echo "package.sh configures the test build folder" >&2
  exit 1
fi
grep -q -- '-B build-package' "$WORK/log" || { echo "package.sh builds elsewhere than build-package/" >&2; exit 1; }
: > "$WORK/log"
sh scripts/build.sh tarvix_unit_tests
grep -q -- '-B build .*-DTARVIX_BUILD_TESTS=ON' "$WORK/log" ||
  { echo "build.sh does not turn the tests on in build/:" >&2; cat "$WORK/log" >&2; exit 1; }
grep -q -- '--build build .*--target tarvix_unit_tests' "$WORK/log" ||
  { echo "build.sh does not build the named target" >&2; cat "$WORK/log" >&2; exit 1; }
echo "build folders kept apart"
