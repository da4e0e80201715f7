#!/bin/sh
# Prints the architecture that `make run` and `make screenshots` start: i686,
# the product, wherever Wine can start 32-bit programs (natively or through
# qemu-i386: scripts/emulated-i386.sh), x86_64 where it cannot.
exec "$(dirname "$0")/emulated-i386.sh" sh -c 'case $TIVRELON_I386 in none*) echo x86_64 ;; *) echo i686 ;; esac'
