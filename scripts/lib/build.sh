# Sourced by scripts/test, scripts/demo, scripts/sim and scripts/check-armhf: one place that says
# how each build folder is configured, so that two commands never configure one folder with two
# sets of flags (which would recompile the whole tree each time they alternate).
#
#   build_configure KIND    configures the folder of KIND and prints its path
#   build_targets DIR T...  builds only targets T... in DIR
#   build_all DIR           builds everything in DIR
#
# Kinds and folders: plain -> build/, asan -> build-asan/, tsan -> build-tsan/,
# fuzz -> build-fuzz/ (clang), armhf -> build-armhf/ (cross). Compiler output is cached with
# ccache when it is installed (scripts/bootstrap installs it); CCACHE_DIR may point elsewhere.

build_dir_of() {
  case $1 in
    plain) echo build ;;
    *) echo "build-$1" ;;
  esac
}

build_configure() {
  local kind=$1 dir cfg=(-G Ninja -DRECORDER_WERROR=ON)
  dir=$(build_dir_of "$kind")
  case $kind in
    plain) ;;
    asan) cfg+=(-DRECORDER_SANITIZE=address,undefined -DRECORDER_BENCH=OFF) ;;
    tsan) cfg+=(-DRECORDER_SANITIZE=thread -DRECORDER_BENCH=OFF) ;;
    # The fuzz build is clang's; gcc's builds hold the warnings-as-errors line.
    fuzz) cfg=(-G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DRECORDER_FUZZ=ON
               -DRECORDER_BENCH=OFF) ;;
    armhf) cfg+=(-DCMAKE_TOOLCHAIN_FILE=cmake/armhf.cmake -DRECORDER_BENCH=OFF) ;;
    *) echo "build_configure: unknown kind $kind" >&2; return 2 ;;
  esac
  if command -v ccache >/dev/null 2>&1; then
    cfg+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Work trees of the same repository share cache entries.
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
  fi
  cmake -S . -B "$dir" "${cfg[@]}" >/dev/null
  echo "$dir"
}

build_targets() {
  local dir=$1; shift
  cmake --build "$dir" -j "$(nproc)" --target "$@"
}

build_all() {
  cmake --build "$1" -j "$(nproc)"
}
