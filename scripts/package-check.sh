#!/usr/bin/env bash
# Proves the package built by scripts/package.sh on a clean system, as root: lintian reports no
# error and no permission tag (it only warns about those); every folder and program is 0755 and
# every other file 0644, owned by root, whatever the builder's umask was; a throw-away Debian root
# made by mmdebstrap from this machine's own Debian sources gets the package through apt with the
# dependencies it declares; there qiwu-cli answers a transfer search on the demo city and qiwu
# shows its window under Xvfb (a picture: package-check.png).
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls qiwu_*_amd64.deb)
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq --no-install-recommends mmdebstrap lintian x11-apps imagemagick >/dev/null

lintian --fail-on error --tag-display-limit 0 "$deb" | tee lintian.txt
if grep -E '^[A-Z]: [^ ]+: [a-z0-9-]*(perm|world-writable|setuid|setgid)' lintian.txt; then
  echo "lintian reports permissions (above)"
  exit 1
fi
odd=$(dpkg-deb -c "$deb" | awk '!($1 ~ /^(drwxr-xr-x|-rwxr-xr-x|-rw-r--r--)$/ && $2 == "root/root")')
if [ -n "$odd" ]; then
  printf 'entries of other modes or owners:\n%s\n' "$odd"
  exit 1
fi

# The first stop of the demo city's first line and the stop halfway along it.
db=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | awk '/\/data\/.*\.mdb$/ && !found { print; found = 1 }')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/pkg"
IFS=$'\t' read -r from to < <(python3 - "$work/pkg/${db#./}" <<'PY'
import sqlite3, sys
rows = sqlite3.connect(sys.argv[1]).execute(
    "select 站名 from 公交信息 where ID = (select min(ID) from 公交信息) order by 顺序").fetchall()
print(rows[0][0], rows[len(rows) // 2][0], sep="\t")
PY
)

sources=/etc/apt/sources.list.d/debian.sources
[ -f "$sources" ] || sources=/etc/apt/sources.list
mmdebstrap --quiet --variant=apt --include="$PWD/$deb" --include=xvfb,xauth,x11-utils,x11-apps \
  --hook-dir=/usr/share/mmdebstrap/hooks/file-mirror-automount \
  bookworm "$work/root" - < "$sources"

# In a private mount namespace, so /proc and /dev leave with it.
unshare -m --propagation private bash -euo pipefail -s "$work/root" "$from" "$to" <<'SH'
root=$1 from=$2 to=$3
mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
echo "qiwu-cli bus $from $to:"
chroot "$root" qiwu-cli --city 栖坞市 bus "$from" "$to" | tee "$root/tmp/answer.txt"
grep -q '路' "$root/tmp/answer.txt"
chroot "$root" sh -c '
  Xvfb :95 -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
  sleep 2
  DISPLAY=:95 qiwu >/tmp/qiwu.log 2>&1 & qiwu=$!
  for i in $(seq 30); do
    DISPLAY=:95 xwininfo -root -tree | grep -q "栖坞地理信息查询系统" && break
    sleep 1
  done
  DISPLAY=:95 xwd -root -silent > /tmp/window.xwd
  shown=$(DISPLAY=:95 xwininfo -root -tree | grep -c "栖坞地理信息查询系统" || true)
  kill $qiwu $xvfb
  [ "$shown" -gt 0 ] || { echo "qiwu showed no window:"; cat /tmp/qiwu.log; exit 1; }
  echo "qiwu showed its window"'
cp "$root/tmp/window.xwd" /tmp/qiwu-package-window.xwd
SH
convert /tmp/qiwu-package-window.xwd package-check.png
echo "package check passed: $deb"
