#!/usr/bin/env bash
# pip install of the Python module as users do it: a fresh virtual
# environment over Debian's interpreter (numpy, pandas and dask from the
# system), `pip install --no-build-isolation .` offline, then the pytest
# suite against the installed package, never against a build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
venv=$root/build-pip/venv

rm -rf "$venv"
/usr/bin/python3 -m venv --system-site-packages "$venv"
"$venv/bin/python" -m pip install -q --no-build-isolation --no-index "$root"

# The C++ host that draws the suite's reference pictures.
cmake -S . -B build -G Ninja -DKESTRA_BUILD_PYTHON=ON >/dev/null
cmake --build build -j "$(nproc)" --target kestra_python_reference

# Outside the source tree, with no PYTHONPATH and no script folder on the
# path (-P), the only kestra to import is the installed one.
cd "$(mktemp -d)"
trap 'rm -rf "$PWD"' EXIT
installed=$(env -u PYTHONPATH "$venv/bin/python" -P -c "import kestra; print(kestra.__file__)")
case "$installed" in
  "$venv"/*) echo "kestra imported from $installed" ;;
  *) echo "test-pip.sh: kestra imported from $installed, not from the venv" >&2; exit 1 ;;
esac
env -u PYTHONPATH KESTRA_PYTHON_REFERENCE="$root/build/python/kestra_python_reference" \
  "$venv/bin/python" -P -m pytest -q -p no:cacheprovider "$root/tests/python"
