#!/bin/sh
# Starts or ends the persistent wine session in which the Windows tests run:
#   wine-session.sh start|stop WINE WINESERVER LOG
# WINEPREFIX and WINEDEBUG come from the environment. wine's own background
# processes outlive "start", so nothing of theirs may hold the test driver's
# output pipes: everything goes to LOG.
set -u
action=$1 wine=$2 wineserver=$3 log=$4
case $action in
start)
  # A server that is still running from an earlier run serves this one too.
  "$wineserver" -p </dev/null >>"$log" 2>&1 || echo "wineserver already running" >>"$log"
  # The first start creates the prefix; later starts only check it.
  "$wine" cmd /c exit </dev/null >>"$log" 2>&1
  ;;
stop)
  "$wineserver" -k </dev/null >>"$log" 2>&1 || echo "no wineserver was running" >>"$log"
  ;;
*)
  echo "usage: $0 start|stop WINE WINESERVER LOG" >&2
  exit 2
  ;;
esac
