#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails, naming each file, when a source file of the project does not open
# with its licence line: `// SPDX-License-Identifier: GPL-3.0-or-later` in
# C++ and JavaScript, `# SPDX-License-Identifier: GPL-3.0-or-later` in CMake,
# Python and shell, after the shebang where there is one. Data (JSON, XML,
# translations, desktop files, golden files) carries no such line.
#
# Usage: check-licence-headers.sh [source-dir]. In a git work tree the files
# git tracks are checked, elsewhere every file outside build folders.
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"

licence='SPDX-License-Identifier: GPL-3.0-or-later'

if [ -e .git ] && git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files)
else
  mapfile -t files < <(find . -path ./.git -prune -o -path './build*' -prune -o -path './b' -prune -o -path './b-*' -prune \
    -o -path '*/node_modules' -prune -o -type f -print | sed 's|^\./||')
fi

missing=0
checked=0
for file in "${files[@]}"; do
  [ -f "$file" ] || continue
  first='' second=''
  { IFS= read -r first; IFS= read -r second; } <"$file" || true
  case "$file" in
    */node_modules/*|translations/*) continue ;;
    *.cpp|*.h|*.hpp|*.c|*.mm|*.js|*.mjs|*.ts) prefix='//' ;;
    CMakeLists.txt|*/CMakeLists.txt|*.cmake|*.py|*.sh|*.bash) prefix='#' ;;
    *) if [[ $first == '#!'* ]]; then prefix='#'; else continue; fi ;;
  esac
  checked=$((checked + 1))
  line=1 text=$first
  if [[ $first == '#!'* ]]; then
    line=2 text=$second
  fi
  if [ "$text" != "$prefix $licence" ]; then
    echo "$file: line $line is not \"$prefix $licence\"" >&2
    missing=$((missing + 1))
  fi
done

if [ "$missing" -gt 0 ]; then
  echo "$missing of $checked source files lack the licence line" >&2
  exit 1
fi
echo "All $checked source files carry the licence line"
