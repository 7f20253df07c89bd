#!/usr/bin/env bash
# e2e_window.sh under openbox, a window manager that frames windows with a title bar.
# Usage: e2e_window_openbox.sh BUILD_DIR
exec bash "$(dirname "$0")/e2e_window.sh" "${1:?build directory}" openbox
