#!/usr/bin/env bash
# Fails when a C++ source of the project strays from .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "clang-format: every source follows .clang-format"
