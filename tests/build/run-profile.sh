#!/usr/bin/env bash
# The run profile of scripts/install-deps.sh installs nothing of the test tool chain; an
# unknown profile is a usage error.
#   run-profile.sh INSTALL_DEPS_SCRIPT
set -euo pipefail
script=$1

run=$(bash "$script" run --list)
status=0
for tool in wine64 g++-mingw-w64-x86-64-posix clang libclang-rt-14-dev lintian poppler-utils \
            xvfb imagemagick xdotool libgtest-dev googletest help2man proj-bin locales; do
  if grep -qx "$tool" <<<"$run"; then
    echo "FAIL: the run profile installs $tool"
    status=1
  fi
done
if bash "$script" tests --list >/dev/null 2>&1; then
  echo "FAIL: an unknown profile was accepted"
  status=1
fi
[ $status = 0 ] && echo "ok: $(wc -l <<<"$run") run packages, none of the test tools"
exit $status
