#!/usr/bin/env bash
# Checks that a Windows program's code runs on a Pentium: see
# scripts/check_instructions.py. Debian's Python, which has pefile.
exec /usr/bin/python3 "$(dirname "$0")/check_instructions.py" "$@"
