# Sourced by the benchmarks that run the real program: the flat folders of 100,000, 500,000 and
# 1,000,000 files they share, made once with make-tree in the system's temporary folder (about
# 5 GB for the largest) and kept for later runs, and the Release build with the references.
root=$(git -C "$(dirname "${BASH_SOURCE[0]}")" rev-parse --show-toplevel)
make_tree="$root/../shared/bench/make-tree"
[ -x "$make_tree" ] || make_tree=/work/shared/bench/make-tree
trees=${ORBIVANE_BENCH_TREES:-${TMPDIR:-/tmp}/orbivane-bench-million}
build="$root/build-bench"

tree() { # tree COUNT: the flat folder of COUNT files, made when missing
  [ -d "$trees/flat-$1" ] && [ "$(ls -f "$trees/flat-$1" | wc -l)" -ge "$1" ] || "$make_tree" flat "$trees/flat-$1" "$1" >&2
  echo "$trees/flat-$1"
}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORBIVANE_BENCHMARKS=ON -DORBIVANE_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target orbivane orbivane_fill_reference orbivane_bare_qt_window >/dev/null
