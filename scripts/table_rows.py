"""The rows of the tab-separated tables in scripts/ (*.tsv)."""
import sys


def table_rows(path, columns, needs, header=None):
    """(line number, fields) for each row of `path`, leaving out blank lines, # comments
    and a heading line that starts with `header`. A row without `columns` fields, or
    whose last field (the reason or the source) is empty, ends the check with
    "PATH:LINE: a row needs NEEDS"."""
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#") or (header and line.startswith(header)):
                continue
            fields = line.split("\t")
            if len(fields) != columns or not fields[-1]:
                sys.exit(f"{path}:{number}: a row needs {needs}")
            yield number, fields
