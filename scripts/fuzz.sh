#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (default 60)
# on seeds made from the game's own content. Needs the Release build in
# build/ (its runtime directory, orb-xconvert and orb-stage). Prints each
# target's runs and findings; fails when any target finds a crash, a hang, a
# leak or an excessive allocation (the input is kept in build-fuzz/findings/).
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(StageFile StageCode ResultFile WavFile ImageFile XModel)

cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORB_FUZZ=ON > /dev/null
cmake --build build-fuzz --parallel "$(nproc)" --target "${targets[@]/#/fuzz-}" > /dev/null

runtime=build/runtime
seeds=build-fuzz/seeds
rm -rf "$seeds"
rm -rf build-fuzz/findings
mkdir -p "$seeds"/{StageFile,StageCode,ResultFile,WavFile,ImageFile,XModel} build-fuzz/findings
for group in 1 2 3; do
  for stage in 1 2 3 4 5 6; do
    cp "data/Resource/BData/STAGE$group/Stage00$stage.txt" "$seeds/StageFile/$group-$stage.txt"
    build/orb-stage code "data/Resource/BData/STAGE$group/Stage00$stage.txt" > "$seeds/StageCode/$group-$stage.txt"
  done
done
printf 'x:1,y:0,z:2,sf:2,af:1,pf:2\nmx:0.5,my:-3,mz:12.7,fr:4\nmx:1,my:2\n' > "$seeds/StageFile/moving.txt"
printf 'score:0' > "$seeds/ResultFile/zero.txt"
printf 'score:12\n' > "$seeds/ResultFile/twelve.txt"
printf 'score:7\nscore:-3\r\n' > "$seeds/ResultFile/two.txt"
# The game's sounds cut to their first 2,048 bytes of samples.
python3 - "$runtime/Resource/Sound" "$seeds/WavFile" << 'PY'
import pathlib, struct, sys
for n, path in enumerate(sorted(pathlib.Path(sys.argv[1]).glob("*.wav"))):
    data = path.read_bytes()
    at = data.find(b"data")
    body = data[at + 8:at + 8 + 2048]
    out = data[:at] + b"data" + struct.pack("<I", len(body)) + body
    out = out[:4] + struct.pack("<I", len(out) - 8) + out[8:]
    pathlib.Path(sys.argv[2], f"{n}.wav").write_bytes(out)
PY
find "$runtime/Resource" -name '*.png' -size -64k -exec cp {} "$seeds/ImageFile/" \;
for model in Stage/Stage1.x Title/Stage3.x WhiteBlock/Model.x; do
  name=${model//\//-}
  cp "$runtime/Resource/Data/$model" "$seeds/XModel/$name"
  for form in binary binary64 compressed binary-compressed; do
    build/orb-xconvert "$form" "$runtime/Resource/Data/$model" "$seeds/XModel/$form-$name"
  done
done
for target in "${targets[@]}"; do
  [ -d "fuzz/regressions/$target" ] && cp fuzz/regressions/"$target"/* "$seeds/$target/" 2> /dev/null || true
done

# Two targets at a time, one per core.
run() {
  local target=$1
  mkdir -p "build-fuzz/corpus/$target"
  build-fuzz/fuzz-"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$target-" \
    "build-fuzz/corpus/$target" "$seeds/$target" > "build-fuzz/$target.log" 2>&1
}
pids=()
for target in "${targets[@]}"; do
  run "$target" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$(nproc)" ]; then
    wait "${pids[0]}" || true
    pids=("${pids[@]:1}")
  fi
done
wait || true

status=0
for target in "${targets[@]}"; do
  log="build-fuzz/$target.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  found=$(find build-fuzz/findings -name "$target-*" | wc -l)
  printf '%-10s %10s runs in %s s, %s findings\n' "$target" "${runs:-?}" "$seconds" "$found"
  if [ "$found" -gt 0 ] || ! grep -q '^Done' "$log"; then
    status=1
    grep -m 5 -E 'ERROR|SUMMARY|Test unit written' "$log" || tail -5 "$log"
  fi
done
exit $status
