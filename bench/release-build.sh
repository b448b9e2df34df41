# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the measuring scripts: builds the given targets of the release
# configuration in build-release/, installing what is missing first, as
# scripts/start does.
build_release() {
  scripts/install-deps
  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_BUILD_TESTS=OFF >/dev/null
  cmake --build build-release --target "$@" >/dev/null
}
