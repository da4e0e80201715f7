#!/bin/sh
# Succeeds when this host can start Wine's 32-bit loader. Some hosts run
# 64-bit code only (the kernel has no IA-32 emulation): 32-bit Windows
# programs cannot run under Wine there.
exec /usr/lib/wine/wine --version >/dev/null 2>&1
