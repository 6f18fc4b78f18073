#!/bin/sh
# The packages checked as Debian's own are: lintian with every tag shown (pedantic, experimental and
# informational included), failing on any tag beyond the overrides the packages carry. package.sh and
# the package test both run it.
# Usage: tools/lintian_check.sh PACKAGE.deb...
exec lintian -EvIL +pedantic --fail-on error,warning,info,pedantic "$@"
