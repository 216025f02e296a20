# Screenshots and clicks on the Wine desktop under Xvfb, for scripts that show the program as the
# operator sees it. Sourced inside tools/wine_env.sh, with $out (the folder for the pictures) and
# $build (the build tree) set; needs imagemagick and xdotool.

# The screen's part that holds something: the root window, trimmed to what is not background.
shot() {
  sleep 0.3
  import -window root "$out/$1.png"
  convert "$out/$1.png" -trim +repage "$out/$1.png"
  echo "saved $out/$1.png"
}

# The notification area Wine shows without a desktop's own: its window, at the top left.
tray() {
  sleep 0.3
  local window
  window=$(xdotool search --onlyvisible --name "Wine System Tray" | head -n 1)
  import -window "$window" "$out/$1.png"
  echo "saved $out/$1.png"
}

# Drives the running program as the notification area and the operator would (tools/shell_driver).
drive() { wine "$build/tools/shell_driver.exe" "$@" >/dev/null 2>&1; }

# A click outside a menu closes it, as it does for the operator: at the screen's bottom right
# corner, away from the menu, which opens where the pointer is.
click_elsewhere() {
  local width height
  read -r width height < <(xdotool getdisplaygeometry)
  xdotool mousemove $((width - 5)) $((height - 5)) click 1
}

# Waits (at most 10 s) until a visible window's title contains the text.
wait_for_window() {
  for _ in $(seq 200); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  echo "no window titled '*$1*' appeared" >&2
  return 1
}
