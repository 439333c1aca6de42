#!/usr/bin/env bash
# Checks that a Windows program loads on every Windows from 95 and NT 4.0 to 11:
# see scripts/check_imports.py. Debian's Python, which has pefile.
exec /usr/bin/python3 "$(dirname "$0")/check_imports.py" "$@"
