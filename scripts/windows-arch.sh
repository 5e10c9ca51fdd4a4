# shellcheck shell=bash
# Sourced by the Windows scripts: the architectures of the DLL, where their
# cross-built dependencies are kept, and the version the archive carries.
#   x86: 32-bit (i686-w64-mingw32), x64: 64-bit (x86_64-w64-mingw32)
# shellcheck disable=SC2034 # read by the scripts that source this file
windows_architectures=(x86 x64)

# The mingw-w64 processor name of an architecture.
windows_processor() {
  case "$1" in
    x86) echo i686 ;;
    x64) echo x86_64 ;;
    *) echo "unknown Windows architecture '$1' (x86 or x64)" >&2; return 1 ;;
  esac
}

# Where the cross-built dependencies of an architecture are kept, outside the
# clone, keyed by the Debian release and the architecture.
windows_deps_folder() {
  windows_processor "$1" >/dev/null
  echo "${XDG_CACHE_HOME:-$HOME/.cache}/kestra/windows-deps-$(cat /etc/debian_version)-$1"
}

# The project's version, as the release archive's name carries it.
kestra_version() {
  sed -n 's/^project(kestra VERSION \([0-9.]*\).*/\1/p' "$(dirname "${BASH_SOURCE[0]}")/../CMakeLists.txt"
}
