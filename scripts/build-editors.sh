#!/usr/bin/env bash
# Builds the VS Code extension (editors/vscode) and runs its grammar test:
# npm ci, npm run compile, npm test. Without npm or without the npm registry
# it says so and exits 0, since nothing else of the project needs the
# extension. Every step that may reach the network has a deadline.
set -euo pipefail
cd "$(dirname "$0")/../editors/vscode"

ping_seconds=30
install_seconds=300
local_step_seconds=120

if ! command -v npm >/dev/null; then
  echo "build-editors: npm not found; the VS Code extension is not built"
  exit 0
fi
if ! timeout "$ping_seconds" npm ping >/dev/null 2>&1; then
  echo "build-editors: the npm registry did not answer npm ping within ${ping_seconds} s; the VS Code extension is not built"
  exit 0
fi
timeout "$install_seconds" npm ci --no-audit --no-fund
timeout "$local_step_seconds" npm run compile
timeout "$local_step_seconds" npm test
