#!/usr/bin/env bash
# package-check.sh BUILD_DIR: builds the two Debian packages from a configured build, unpacks them
# into a scratch root (dpkg-deb -x; the machine's installed packages are not touched), checks their
# control fields and run-time dependencies, then uses the unpacked tree as an integrator would: the
# packaged C host example compiled against the unpacked header and run on a demo store made by the
# unpacked make_demo, and the unpacked demo host opening its dialog.
# Exit status 0 when every check passes; otherwise 1, with the reason on stderr.
set -euo pipefail

if [ $# -ne 1 ] || [ ! -f "$1/CPackConfig.cmake" ]; then
  echo "usage: $0 BUILD_DIR   (a configured build of this project, e.g. build/default)" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
for tool in cmake cpack dpkg-deb dpkg-shlibdeps cc pkg-config readelf; do
  command -v "$tool" >/dev/null || { echo "package-check: $tool is not installed" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tkt-package-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "package-check: FAILED: $*" >&2; failures=$((failures + 1)); }
step() { echo "== $*"; }

step "building $build_dir"
cmake --build "$build_dir" >"$work/build.log" 2>&1 || { tail -n 30 "$work/build.log" >&2; echo "package-check: the build failed" >&2; exit 1; }

step "cpack -G DEB"
(cd "$work" && cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work/packages") >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; echo "package-check: cpack failed" >&2; exit 1; }
shopt -s nullglob
module_deb=("$work"/packages/tkt00740_*.deb)
demo_deb=("$work"/packages/tkt00740-demo_*.deb)
shopt -u nullglob
if [ ${#module_deb[@]} -ne 1 ] || [ ${#demo_deb[@]} -ne 1 ]; then
  cat "$work/cpack.log" >&2
  echo "package-check: expected one tkt00740 and one tkt00740-demo package in $work/packages" >&2
  exit 1
fi
module_deb=${module_deb[0]}
demo_deb=${demo_deb[0]}
version=$(dpkg-deb -f "$module_deb" Version)
echo "packages: $(basename "$module_deb") $(basename "$demo_deb") (version $version)"

# The packages' names of a Depends field, without versions and alternatives' bars.
depends_names() { dpkg-deb -f "$1" Depends | tr ',|' '\n\n' | sed -E 's/\(.*\)//; s/^ +//; s/ +$//' | grep -v '^$' || true; }

step "control fields"
for deb in "$module_deb" "$demo_deb"; do
  name=$(dpkg-deb -f "$deb" Package)
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "$name Depends: $depends"
  [ -n "$depends" ] || fail "$name has no Depends field"
  required="libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6-sqlite libqt6sql6-odbc unixodbc qt6-qpa-plugins libc6"
  [ "$name" = tkt00740-demo ] && required="$required tkt00740 libqt6sql6 libqt6network6 libqt6test6 libsqlite3-0 libodbc2"
  names=$(depends_names "$deb")
  for package in $required; do
    grep -qx "$package" <<<"$names" || fail "$name does not depend on $package"
  done
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "$name has version $(dpkg-deb -f "$deb" Version), not $version"
done
grep -qF "tkt00740 (= $version)" <<<"$(dpkg-deb -f "$demo_deb" Depends)" || fail "tkt00740-demo does not depend on tkt00740 (= $version)"

step "unpacking into $work/root"
for deb in "$module_deb" "$demo_deb"; do
  dpkg-deb -x "$deb" "$work/root-$(dpkg-deb -f "$deb" Package)"
  dpkg-deb -x "$deb" "$work/root"
done
prefix="$work/root/opt/tkt00740"
for f in include/tkt00740/tkt00740.h lib/libtkt00740.so lib/libtkt00740.so."${version%%.*}" lib/libtkt_contracts.so \
         lib/libshared_services.so lib/libPkg_Aux00090.so lib/cmake/tkt00740/tkt00740Config.cmake \
         lib/pkgconfig/tkt00740.pc bin/pos_host bin/make_demo bin/tkt_latency_proxy bin/cdstool \
         share/doc/tkt00740/docs/integration-guide.md share/doc/tkt00740/examples/c_host/c_host.c; do
  [ -e "$prefix/$f" ] || fail "the unpacked packages lack /opt/tkt00740/$f"
done
[ -e "$work/root-tkt00740/opt/tkt00740/lib/libshared_services.so" ] && fail "the module package carries the host's shared services stand-in"
[ -e "$work/root-tkt00740-demo/opt/tkt00740/lib/libtkt00740.so" ] && fail "the demo package carries the module"

# Every library a packaged binary is linked to comes from the packages themselves or from a package
# its own package depends on (dpkg -S only reads the package database).
step "linked libraries covered by Depends"
# Read once and searched from a variable: awk leaving a pipe early would end ldconfig with SIGPIPE,
# which pipefail turns into a failed check.
ldcache=$(ldconfig -p)
for deb in "$module_deb" "$demo_deb"; do
  name=$(dpkg-deb -f "$deb" Package)
  deps=" tkt00740 $(depends_names "$deb" | tr '\n' ' ') "
  while IFS= read -r -d '' file; do
    readelf -h "$file" >/dev/null 2>&1 || continue
    for needed in $(readelf -d "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
      [ -e "$prefix/lib/$needed" ] && continue
      path=$(awk -v lib="$needed" '$1 == lib && /x86-64|x86_64|64bit/ { print $NF; exit }' <<<"$ldcache")
      [ -n "$path" ] || path=$(awk -v lib="$needed" '$1 == lib { print $NF; exit }' <<<"$ldcache")
      if [ -z "$path" ]; then
        fail "$name: ${file#"$work/root-$name"} needs $needed, which is nowhere on this machine"
        continue
      fi
      owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null || dpkg -S "/usr$path" 2>/dev/null || true)
      owner=${owner%%:*}
      if [ -z "$owner" ]; then
        fail "$name: no installed package owns $path ($needed)"
      elif [[ "$deps" != *" $owner "* ]]; then
        fail "$name: ${file#"$work/root-$name"} needs $needed from $owner, which $name does not depend on"
      fi
    done
  done < <(find "$work/root-$name" -type f -print0)
done

step "the C host example against the unpacked tree"
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig" PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"
[ "$(pkg-config --modversion tkt00740)" = "$version" ] || fail "tkt00740.pc says version $(pkg-config --modversion tkt00740), not $version"
# shellcheck disable=SC2046
if cc -std=c11 -Wall -Wextra $(pkg-config --cflags tkt00740) "$prefix/share/doc/tkt00740/examples/c_host/c_host.c" \
     -ldl -o "$work/c_host" 2>"$work/cc.log"; then
  "$prefix/bin/make_demo" "$prefix/bin" >"$work/make_demo.log" 2>&1 || { cat "$work/make_demo.log" >&2; fail "the unpacked make_demo failed"; }
  if QT_QPA_PLATFORM=offscreen "$work/c_host" "$prefix/lib" "$prefix/bin/demo.db" 0001 0001 0003 >"$work/c_host.out" 2>"$work/c_host.err"; then
    cat "$work/c_host.out"
    grep -qx "module version: $version" "$work/c_host.out" || fail "tkt_Version does not answer $version"
    grep -qx "row: NRMESA=0003; NMMESA=Mesa 3 - Varanda; IDSTMESAAUX=C" "$work/c_host.out" \
      || fail "getValMesa did not answer table 0003 of the demo store"
  else
    cat "$work/c_host.out" "$work/c_host.err" >&2
    fail "the C host failed against the unpacked tree"
  fi
else
  cat "$work/cc.log" >&2
  fail "the C host example does not compile against the unpacked header"
fi

step "the unpacked demo host"
if (cd "$work" && QT_QPA_PLATFORM=offscreen "$prefix/bin/pos_host" --script "wait:200 click:lblSair" >"$work/pos_host.out" 2>"$work/pos_host.err"); then
  grep -q "^result=False" "$work/pos_host.out" || fail "pos_host printed no result: $(cat "$work/pos_host.out")"
else
  cat "$work/pos_host.out" "$work/pos_host.err" >&2
  fail "the unpacked pos_host failed"
fi

if [ "$failures" -gt 0 ]; then
  echo "package-check: $failures check(s) failed" >&2
  exit 1
fi
echo "package-check: both packages pass"
