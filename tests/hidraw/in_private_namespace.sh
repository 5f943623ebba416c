#!/usr/bin/env bash
# Runs a test program in a mount namespace of its own, where it mounts the
# emulated hidraw devices (tmpfs over parts of /sys, /run and /dev, a FUSE
# file system) without the rest of the machine seeing any of it.
#   in_private_namespace.sh SHIM PROGRAM [ARGS...]
# SHIM is the preloaded fstatfs library (see sysfs_fstatfs.cpp). Exits 77
# (skipped) with a line saying why where this cannot run.
set -euo pipefail
skip() {
  echo "SKIP: $*"
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "needs root to mount in a private mount namespace (CI runs the tests as root)"
[ -c /dev/fuse ] || skip "no /dev/fuse (the FUSE kernel module is missing)"
command -v unshare >/dev/null || skip "no unshare (util-linux)"
unshare -m --propagation private true 2>/dev/null || skip "mount namespaces cannot be made here"
shim=$(readlink -f "$1")
shift
export LD_PRELOAD="$shim${LD_PRELOAD:+:$LD_PRELOAD}"
# The shim is not instrumented, so it comes before the sanitizer runtime.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}:verify_asan_link_order=0"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# --propagation private: nothing mounted inside reaches the parent namespace.
exec unshare -m --propagation private "$@"
