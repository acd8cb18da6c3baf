# SPDX-License-Identifier: GPL-3.0-or-later
# The built-in module's demo: a small system summary in colour, rerun every second.
bold=$(printf '\033[1m') dim=$(printf '\033[90m') reset=$(printf '\033[0m')
label() { printf '\033[33m%-7s\033[0m' "$1"; }

printf '%s\033[36mPellimo\033[0m  %s\n' "$bold" "$(date '+%a %d %b  %H:%M:%S')"
label host;   printf '%s\n' "$(uname -n) $dim$(uname -r)$reset"
label load;   printf '%s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
label memory; awk '/MemTotal/{t=$2} /MemAvailable/{a=$2} END{printf "%.1f of %.1f GiB used\n",(t-a)/1048576,t/1048576}' /proc/meminfo
label disk;   df -h / | awk 'NR==2{print $3 " of " $2 " (" $5 ")"}'
printf '\033[32m●\033[0m ok   \033[31m●\033[0m failed   \033[4munderlined\033[24m   \033[21mdouble\033[24m\n'
for c in 196 202 208 214 220 226 190 154 118 82 46 47 48 49 50 51 45 39 33 27 21 57 93 129 165 201; do
  printf '\033[48;5;%sm \033[0m' "$c"
done
printf '\n'
