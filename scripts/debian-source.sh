# Shell functions for cross-building libraries from Debian's own source
# packages; sourced by the dependency scripts. The caller sets $sources (where
# packages are unpacked) and $prefix (where the libraries are installed, with
# one version stamp per package).

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"

# Installs those of the given Debian packages that are not installed yet.
install_missing() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
  done
  if ((${#missing[@]})); then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=1200 install -y -q \
      --no-install-recommends "${missing[@]}"
  fi
}

# apt-get source needs the source index of the release the machine runs.
ensure_source_index() {
  local list=/etc/apt/sources.list.d/kestra-sources.sources
  if [[ ! -f $list ]]; then
    local codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" \
      "Suites: $codename $codename-updates" "Components: main" \
      "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" | $sudo tee "$list" >/dev/null
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -q
  fi
}

# The version apt would fetch for a source package.
source_version() {
  apt-cache showsrc "$1" | awk '/^Version:/ { print $2; exit }'
}

# Unpacks a source package into $sources and prints its folder.
unpack() {
  local package=$1 version=$2
  local folder="$sources/$package-$version"
  if [[ ! -d $folder ]]; then
    rm -rf "$sources/tmp" && mkdir -p "$sources/tmp"
    (cd "$sources/tmp" && apt-get source -q --only-source "$package=$version" >&2)
    local unpacked
    unpacked=$(find "$sources/tmp" -mindepth 1 -maxdepth 1 -type d | head -n 1)
    mv "$unpacked" "$folder"
    rm -rf "$sources/tmp"
  fi
  echo "$folder"
}

# Every file of $prefix named (relative to it) is there.
files_present() {
  local file
  for file in "$@"; do
    [[ -f $prefix/$file ]] || return 1
  done
}

# Builds one library with `builder FOLDER` unless its stamp in $prefix names
# the same version ($stamp_suffix, when set, is part of that version) and the
# files named after the builder are there.
dependency() {
  local package=$1 builder=$2
  shift 2
  local version stamp
  version=$(source_version "$package")
  [[ -n $version ]] || { echo "no source package $package" >&2; exit 1; }
  stamp="$prefix/.$package.version"
  if [[ -f $stamp && $(cat "$stamp") == "$version${stamp_suffix:-}" ]] && files_present "$@"; then
    echo "$package $version: cached in $prefix"
    return
  fi
  "$builder" "$(unpack "$package" "$version")"
  echo "$version${stamp_suffix:-}" >"$stamp"
  echo "$package $version: built in $prefix"
}

# expat with the caller's cmake_build, into $deps/build-expat.
build_expat() {
  local folder=$1/expat
  # The sources test "#if XML_DTD == 1"; the template defines it empty.
  sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' "$folder/expat_config.h.cmake"
  cmake_build "$folder" "$deps/build-expat" -DEXPAT_SHARED_LIBS=OFF \
    -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF \
    -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=OFF
}
