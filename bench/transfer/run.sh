#!/usr/bin/env bash
# Transfer benchmarks against ostrana-service on loopback, with every file in a scratch folder
# under /tmp that is removed at the end:
#   - a 1 GiB file up and down with ostrana-cli, beside a plain TCP copy of the same bytes between
#     two processes (the machine's limit); MB/s and the ratio, and ostrana-cli's peak memory;
#     downloads alternate with plain copies BENCH_ROUNDS times (default 3) and medians are compared;
#   - 10,000 files of 1 KiB in 100 folders, both ways: files per second.
# Usage: bench/transfer/run.sh [BUILD_DIR]   (default build; build it first with scripts/build.sh)
# BENCH_PARTS="big small" (the default) picks the parts to run.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
service="$build/service/ostrana-service"
cli="$build/cli/ostrana-cli"
copy="$build/bench/transfer/plain_tcp_copy"
for program in "$service" "$cli" "$copy"; do
  [ -x "$program" ] || { echo "missing $program (build first)" >&2; exit 1; }
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/ostrana-bench-XXXXXX")
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

# An account with room for the big file (4 GB).
echo "bench1234" | "$service" --root "$scratch/root" --add-user bench --quota 4194304 >/dev/null
"$service" --root "$scratch/root" --listen 127.0.0.1:0 >"$scratch/service.log" 2>&1 &
pid=$!
port=""
for _ in $(seq 200); do
  port=$(sed -n 's/^ostrana-service listening on 127\.0\.0\.1:\([0-9][0-9]*\)$/\1/p' "$scratch/service.log")
  [ -n "$port" ] && break
  sleep 0.05
done
[ -n "$port" ] || { echo "the service did not start" >&2; exit 1; }
export OSTRANA_PASSWORD=bench1234
run_cli() { "$cli" --server "127.0.0.1:$port" --user bench "$@"; }
now() { date +%s.%N; }
rate() { awk -v bytes="$1" -v t0="$2" -v t1="$3" 'BEGIN { printf "%.1f", bytes / (t1 - t0) / 1e6 }'; }
per_second() { awk -v n="$1" -v t0="$2" -v t1="$3" 'BEGIN { printf "%.0f", n / (t1 - t0) }'; }

parts=${BENCH_PARTS:-big small}

if [[ " $parts " == *" big "* ]]; then
size=$((1024 * 1024 * 1024))
mkdir -p "$scratch/big" "$scratch/down" "$scratch/plain"
head -c "$size" /dev/urandom >"$scratch/big/big.bin"

# Every measured step starts with no dirty pages left over from the step before it.
sync
plain_copy() { # [--sync]
  rm -f "$scratch/plain/port"
  "$copy" serve "$scratch/plain/port" "$scratch/plain/big.bin" "$@" &
  local server=$!
  while [ ! -s "$scratch/plain/port" ]; do sleep 0.01; done
  local t0 t1
  t0=$(now); "$copy" send "$(cat "$scratch/plain/port")" "$scratch/big/big.bin"; wait "$server"; t1=$(now)
  rm -f "$scratch/plain/big.bin"
  sync
  rate "$size" "$t0" "$t1"
}
echo "== 1 GiB, plain TCP copy between two processes"
plain=$(plain_copy)
echo "plain copy into the page cache: $plain MB/s"
plain_synced=$(plain_copy --sync)
echo "plain copy flushed to disk at the end (as the service stores an upload): $plain_synced MB/s"


echo "== 1 GiB upload with ostrana-cli put"
t0=$(now)
/usr/bin/time -f "%M KB, %U s user, %S s system" -o "$scratch/put.rss" "$cli" --server "127.0.0.1:$port" --user bench put --quiet "$scratch/big/big.bin" myfolder/
t1=$(now)
up=$(rate "$size" "$t0" "$t1")
echo "upload: $up MB/s, ostrana-cli peak memory $(cat "$scratch/put.rss")"

# The plain copy swings with the page cache's state from one moment to the next, so downloads and
# plain copies alternate and the medians are compared.
rounds=${BENCH_ROUNDS:-3}
downs=(); plains=()
for round in $(seq "$rounds"); do
  rm -rf "$scratch/down"; mkdir -p "$scratch/down"; sync
  echo "== 1 GiB download with ostrana-cli get (round $round of $rounds)"
  t0=$(now)
  /usr/bin/time -f "%M KB, %U s user, %S s system" -o "$scratch/get.rss" "$cli" --server "127.0.0.1:$port" --user bench get --quiet myfolder/big.bin "$scratch/down"
  t1=$(now)
  down=$(rate "$size" "$t0" "$t1")
  cmp -s "$scratch/big/big.bin" "$scratch/down/big.bin" || { echo "the downloaded file differs" >&2; exit 1; }
  rm -rf "$scratch/down"; sync
  plain_round=$(plain_copy)
  echo "download: $down MB/s (identical), ostrana-cli peak memory $(cat "$scratch/get.rss"); plain copy beside it: $plain_round MB/s"
  downs+=("$down"); plains+=("$plain_round")
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
down=$(median "${downs[@]}")
plain=$(median "$plain" "${plains[@]}")
echo "medians: download $down MB/s, plain copy $plain MB/s"
awk -v up="$up" -v down="$down" -v plain="$plain" -v synced="$plain_synced" \
  'BEGIN { printf "ratio: upload %.2f of the flushed plain copy (%.2f of the unflushed), download %.2f of the plain copy\n", up / synced, up / plain, down / plain }'
rm -rf "$scratch/big" "$scratch/down" "$scratch/root/users/bench/myfolder/big.bin"
fi

if [[ " $parts " == *" small "* ]]; then
echo "== 10,000 files of 1 KiB in 100 folders"
many="$scratch/many/tree"
for folder in $(seq -w 0 99); do
  mkdir -p "$many/f$folder"
  for file in $(seq -w 0 99); do head -c 1024 /dev/urandom >"$many/f$folder/file$file.bin"; done
done
t0=$(now); run_cli put --quiet "$many" myfolder/; t1=$(now)
echo "upload: $(per_second 10000 "$t0" "$t1") files/s"
t0=$(now); run_cli get --quiet myfolder/tree "$scratch/many-back"; t1=$(now)
echo "download: $(per_second 10000 "$t0" "$t1") files/s"
diff -r "$many" "$scratch/many-back/tree" >/dev/null && echo "the downloaded tree is identical"
fi
