#!/usr/bin/env bash
# The main job on the embedded default: builds Ostrana, starts ostrana-service --demo on a free
# loopback port in a data folder of its own and the container `ostrana` beside it, and prints two
# addresses of the page: one starts at the login dialog, one comes signed in as the demo account,
# as the service's own page would hand it over. The first is opened in the browser when there is a
# display. Ctrl-C stops both programs.
#   scripts/demo.sh --cli   takes ostrana-cli on a short tour of the demo account instead.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
mode=page
case "${1:-}" in
  "") ;;
  --cli) mode=cli ;;
  -h|--help) sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  *) echo "usage: scripts/demo.sh [--cli]" >&2; exit 2 ;;
esac
"$top/scripts/setup.sh"
"$top/scripts/build.sh" normal >/dev/null

service="$top/build/service/ostrana-service"
cli_program="$top/build/cli/ostrana-cli"
container="$top/build/host/ostrana"
data=$(mktemp -d "${TMPDIR:-/tmp}/ostrana-demo-XXXXXX")
log="$data/service.log"
pid=""
host_pid=""
stop() {
  for p in "$host_pid" "$pid"; do
    if [ -n "$p" ] && kill -0 "$p" 2>/dev/null; then
      kill "$p"
      wait "$p" 2>/dev/null || true
    fi
  done
  rm -rf "$data"
}
trap stop EXIT
trap 'exit 130' INT TERM

"$service" --root "$data/root" --listen 127.0.0.1:0 --demo >"$log" 2>&1 &
pid=$!
port=""
for _ in $(seq 200); do
  port=$(sed -n 's/^ostrana-service listening on 127\.0\.0\.1:\([0-9][0-9]*\)$/\1/p' "$log")
  [ -n "$port" ] && break
  kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; echo "demo: the service did not start" >&2; exit 1; }
  sleep 0.05
done
[ -n "$port" ] || { echo "demo: the service did not report its port" >&2; exit 1; }
echo "== ostrana-service --demo is listening on 127.0.0.1:$port (data in $data/root)"

if [ "$mode" = page ]; then
  cookie=$(OSTRANA_PASSWORD=demo1234 "$cli_program" --server "127.0.0.1:$port" --user demo login)
  mkfifo "$data/address"
  OSTRANA_SERVER="127.0.0.1:$port" "$container" --no-open >"$data/address" &
  host_pid=$!
  read -r address <"$data/address" || { echo "demo: the container did not start" >&2; exit 1; }
  # The rest of the container's output is not needed; keep its pipe drained.
  cat "$data/address" >/dev/null &
  login="$address&host=127.0.0.1:$port"
  signed="$login&user=demo&auth=WAXLO_AUTH%3D$cookie"
  echo "== the page, starting at the login dialog (user demo, password demo1234):"
  echo "$login"
  echo "== the page, signed in as demo:"
  echo "$signed"
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && command -v xdg-open >/dev/null; then
    xdg-open "$login" >/dev/null 2>&1 || true
  fi
  echo "== Ctrl-C stops the container and the service"
  wait "$host_pid"
  exit 0
fi

say() { printf '\n== %s\n' "$1"; }
show() {
  local shown="" arg
  for arg in "$@"; do
    case "$arg" in *" "*) shown+=" \"$arg\"" ;; *) shown+=" $arg" ;; esac
  done
  printf '$ ostrana-cli%s\n' "$shown"
}
cli() {
  show "$@"
  "$cli_program" --server "127.0.0.1:$port" "$@"
}

say "Log in as demo (password from OSTRANA_PASSWORD); the command prints the session cookie"
show --user demo login
cookie=$(OSTRANA_PASSWORD=demo1234 "$cli_program" --server "127.0.0.1:$port" --user demo login)
echo "$cookie"
session=(--user demo --cookie "$cookie")

say "List the demo account's storage"
cli "${session[@]}" ls myfolder/
say "Make a folder, rename it, and list again"
cli "${session[@]}" mkdir myfolder/ "새 폴더"
cli "${session[@]}" rename myfolder/ "새 폴더" "여행 사진"
cli "${session[@]}" ls myfolder/
say "Show the quota"
cli "${session[@]}" quota myfolder/
say "Remove the folder again"
cli "${session[@]}" rm myfolder/ "여행 사진"
cli "${session[@]}" ls myfolder/
say "Upload a local folder (a tree of files, Korean names, an empty file) into myfolder/"
tree="$data/local/보낼 자료"
mkdir -p "$tree/문서/빈 폴더" "$tree/사진"
printf 'Ostrana tour\n' >"$tree/읽어보기.txt"
printf '첫 번째 문서\n' >"$tree/문서/메모 1.txt"
head -c 300000 /dev/urandom >"$tree/사진/random.bin"
: >"$tree/빈 파일"
cli "${session[@]}" put --quiet "$tree" myfolder/
cli "${session[@]}" ls "myfolder/보낼 자료/"
say "Download it back into a fresh local folder and compare the two"
cli "${session[@]}" get --quiet "myfolder/보낼 자료" "$data/back"
diff -r "$tree" "$data/back/보낼 자료" && echo "the downloaded folder is identical to the uploaded one"
say "Upload the folder again: existing files are skipped with --overwrite skip"
cli "${session[@]}" put --quiet --overwrite skip "$tree" myfolder/
cli "${session[@]}" rm myfolder/ "보낼 자료"

say "A wrong password is refused (exit status 1)"
status=0
OSTRANA_PASSWORD=wrong cli --user demo ls myfolder/ || status=$?
echo "exit status $status"

say "What the service logged"
tail -n +2 "$log"
say "Stopping the service"
