# shellcheck shell=bash
# Sourced by the Windows test scripts: a headless Wine prefix that draws
# "arial" with the font file the Linux build uses, so that pictures with text
# can be compared byte for byte. A 64-bit prefix: wine64 runs the x64
# programs, wine32 the x86 ones.

# Sets up the prefix (once) and exports what wine needs to use it.
#   wine_prefix_with_linux_font PREFIX
wine_prefix_with_linux_font() {
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    wineboot --init >/dev/null 2>&1
    wineserver --wait
  fi
  # The Linux build's font for "arial" (fontconfig's choice), also Wine's.
  linux_font="$(fc-match -f '%{file}' arial)"
  local font_name
  font_name="$(fc-match -f '%{family[0]}' arial)"
  if ! cmp -s "$linux_font" "$WINEPREFIX/drive_c/windows/Fonts/$(basename "$linux_font")"; then
    cp "$linux_font" "$WINEPREFIX/drive_c/windows/Fonts/"
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v arial /d "$font_name" /f \
      >/dev/null 2>&1
    wineserver --wait
  fi
}
