#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# A script written for the menu-bar tools (BitBar/xbar, SwiftBar, Argos, Kargos), as Pellimo runs
# it unchanged with "Lines" set to "Menu": the lines up to "---" show on the widget, with their
# colours and click actions; the lines after it make the right-click menu.
load=$(cut -d' ' -f1 /proc/loadavg)
used=$(df -P / | awk 'NR==2{print $5}')
case $load in
  0.*) colour=green ;;
  *) colour=orange ;;
esac

echo "load $load | color=$colour"
echo "disk $used used | bash=/usr/bin/xdg-open param1=\"$HOME\" terminal=false"
printf '\033[36mansi\033[0m colours still work | size=10\n'
echo "Rerun now | color=#8ab4f8 refresh=true"
echo "---"
echo "Open a web page | href=https://example.org/"
echo "Top processes | bash=top"
echo "Tools"
echo "--Free memory | bash=/usr/bin/free param1=-h terminal=true"
echo "--Say hello | bash=/usr/bin/notify-send param1=Pellimo param2=\"hello from a menu\" terminal=false"
echo "---"
echo "Updated $(date '+%H:%M:%S')"
