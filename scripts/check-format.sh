#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what clang-format makes of it (.clang-format).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(find src tests bench fuzz tools -name '*.h' -o -name '*.cpp' | sort)
clang-format --dry-run --Werror "${files[@]}"
