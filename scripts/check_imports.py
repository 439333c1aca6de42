"""Checks that a Windows program loads on every Windows from 95 and NT 4.0 to 11.

    check-imports.sh [--manifest] [--9x-allowed FILE [--link-map MAP]...] PROGRAM...

Several programs (a program and the DLL it loads) are checked together, each with
its own --link-map, given in the same order; --manifest concerns the first.

Reads the program's import table and fails on:
  - a DLL that is not one of the system DLLs Windows always loads from its system
    folder (a DLL beside the program on a shared medium must never be picked up);
  - a function missing from scripts/windows-functions.tsv (list it first, with its
    source), or one that Windows NT 4.0 or Windows 95 does not export: their loader
    would refuse the program before it runs;
  - a PE header whose subsystem is not the GUI or whose subsystem and OS versions
    are not 4.0.
Imports that Windows 9x exports only as stubs (they load, and fail when called) are
listed; with --9x-allowed, a stub that the file does not name fails too, and so does
a row for a function none of the programs imports. The file
(scripts/windows-9x-stubs.tsv) names each function the program may import although
Windows 9x has only its stub, the object files allowed to call it, and why that is
safe there: the calls are made only on the NT family, or their failure is handled.
With --link-map (the linker's -Map file of the program) every object file the
program was linked from is read (with the nm of the MinGW binutils, or --nm), and a
stub called from an object file that its row does not name fails.
With --manifest the program must carry its application manifest: elevation
required, the supported systems from Vista to 10/11, not DPI-aware, the elevation
request in the namespace Windows XP reads, and no common controls of version 6.
"""
import argparse
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

import pefile

from table_rows import table_rows

HERE = os.path.dirname(os.path.abspath(__file__))
TABLE = os.path.join(HERE, "windows-functions.tsv")

# Not shlwapi.dll nor comctl32.dll: Windows 95 and NT 4.0 have shlwapi.dll only
# from Internet Explorer 4 on, and comctl32.dll in its first versions; a program
# of ours loads what it needs of them at run time.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "ole32.dll",
               "oleaut32.dll", "comdlg32.dll", "msvcrt.dll"}
# The oldest systems of the two lines.
NT_ORDER = ["3.1", "3.5", "3.51", "4.0", "4.0 SP4", "2000", "XP", "XP SP1", "Vista", "7", "8", "8.1", "10"]
OLDEST_NT = "4.0"
LOADS_ON_95 = {"95", "stub"}

SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10 and 11",
}


def read_table():
    table = {}
    needs = "dll, function, nt, 9x and source"
    for number, fields in table_rows(TABLE, 5, needs, header="dll\t"):
        if fields[2] not in NT_ORDER:
            sys.exit(f"{TABLE}:{number}: a row needs {needs}")
        table[(fields[0], fields[1])] = {"nt": fields[2], "9x": fields[3], "source": fields[4]}
    return table


def imports_of(pe):
    """(dll, name or None for an ordinal) for every static and delayed import."""
    pe.parse_data_directories(directories=[
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"],
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT"],
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    found = []
    for entries in (getattr(pe, "DIRECTORY_ENTRY_IMPORT", []), getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])):
        for entry in entries:
            dll = entry.dll.decode("ascii").lower()
            for symbol in entry.imports:
                found.append((dll, symbol.name.decode("ascii") if symbol.name else None))
    return found


def check_header(pe, problems):
    optional = pe.OPTIONAL_HEADER
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
        problems.append("not a 32-bit x86 program")
    if optional.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
        problems.append(f"subsystem {optional.Subsystem}, not the Windows GUI (2)")
    for what, major, minor in (("subsystem", optional.MajorSubsystemVersion, optional.MinorSubsystemVersion),
                               ("operating system", optional.MajorOperatingSystemVersion,
                                optional.MinorOperatingSystemVersion)):
        if (major, minor) != (4, 0):
            problems.append(f"{what} version {major}.{minor} in the PE header, not 4.0 (older loaders refuse it)")


def check_imports(pe, allowed_stubs, problems):
    table = read_table()
    stubs = []
    imports = imports_of(pe)
    if not imports:
        problems.append("no import table found")
    for dll in sorted({dll for dll, _ in imports} - SYSTEM_DLLS):
        problems.append(f"{dll}: not a system DLL")
    for dll, name in imports:
        if dll not in SYSTEM_DLLS:
            continue
        if name is None:
            problems.append(f"{dll}: a function imported by its number (the numbers differ between systems)")
            continue
        row = table.get((dll, name))
        if row is None:
            problems.append(f"{dll} {name}: not in {os.path.basename(TABLE)} (add it with its first Windows)")
            continue
        late = []
        if NT_ORDER.index(row["nt"]) > NT_ORDER.index(OLDEST_NT):
            late.append("first in Windows " + row["nt"])
        if row["9x"] not in LOADS_ON_95:
            late.append("not in Windows 9x" if row["9x"] == "-" else "first in Windows " + row["9x"])
        if late:
            problems.append(f"{dll} {name}: {', '.join(late)} ({row['source']})")
        if row["9x"] == "stub":
            stubs.append(name)
            if allowed_stubs is not None and name not in allowed_stubs:
                problems.append(f"{dll} {name}: a stub on Windows 9x, called there")
    return stubs


def read_allowed_stubs(path):
    """function -> set of object file names (the basename, as in the link map)."""
    return {fields[0]: {name.strip() for name in fields[1].split(",") if name.strip()}
            for _, fields in table_rows(path, 3, "function, object files and why")}


def linked_objects(map_path):
    """(archive or None, object) for every object file the link map names: the
    objects given to the linker (LOAD lines) and the archive members it took. The
    paths are relative to the folder the linker ran in, where the map must lie."""
    base = os.path.dirname(os.path.abspath(map_path))
    objects = []
    with open(map_path, encoding="utf-8", errors="replace") as lines:
        in_members = False
        for line in lines:
            if line.startswith("Archive member included"):
                in_members = True
                continue
            if line.startswith("Discarded input sections") or line.startswith("Memory Configuration"):
                in_members = False
            if in_members and line[:1] not in ("", " ", "\n"):
                match = re.match(r"(\S+?\.a)\((.+?)\)", line)
                if match:
                    objects.append((os.path.join(base, match.group(1)), match.group(2)))
            elif line.startswith("LOAD ") and re.search(r"\.(o|obj)$", line.strip()):
                objects.append((None, os.path.join(base, line[5:].strip())))
    return objects


def stub_callers(map_path, stubs, nm):
    """stub -> object file names (basenames) that reference its import."""
    wanted = {f"__imp__{name}" for name in stubs}
    callers = {}
    by_file = {}
    for archive, member in linked_objects(map_path):
        by_file.setdefault(archive or member, set()).add(member)
    for path, members in by_file.items():
        listing = subprocess.run([nm, "-A", path], capture_output=True, text=True, check=True).stdout
        for row in listing.splitlines():
            parts = row.split()
            if len(parts) < 3 or parts[-2] != "U":
                continue
            symbol = parts[-1].split("@")[0]
            if symbol not in wanted:
                continue
            owner = parts[0].rstrip(":").split(":")
            member = owner[-1] if len(owner) > 1 and owner[0] == path else path
            if member in members:
                callers.setdefault(symbol[len("__imp__"):], set()).add(os.path.basename(member))
    return callers


def check_stub_callers(stubs, allowed, map_path, nm, problems):
    if map_path is None:
        return
    for name, objects in sorted(stub_callers(map_path, stubs, nm).items()):
        for obj in sorted(objects - allowed.get(name, set())):
            problems.append(f"{name}: a stub on Windows 9x, called from {obj} (not among its callers that are safe there)")


def check_manifest(pe, problems):
    manifest = None
    resources = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in resources.entries if resources else []:
        if kind.id != pefile.RESOURCE_TYPE["RT_MANIFEST"]:
            continue
        for item in kind.directory.entries:
            if item.id != 1:
                continue
            data = item.directory.entries[0].data.struct
            manifest = pe.get_data(data.OffsetToData, data.Size)
    if manifest is None:
        problems.append("no application manifest (resource 1 of type 24)")
        return
    root = ElementTree.fromstring(manifest)
    asm1, asm2 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v2}"
    level = root.find(f"{asm2}trustInfo/{asm2}security/{asm2}requestedPrivileges/{asm2}requestedExecutionLevel")
    if level is None:
        problems.append("manifest: no requestedExecutionLevel in the asm.v2 trustInfo (the form Windows XP reads)")
    elif level.get("level") != "requireAdministrator" or level.get("uiAccess") != "false":
        problems.append(f"manifest: execution level {level.get('level')}, uiAccess {level.get('uiAccess')}")
    declared = {os_id.get("Id").lower() for os_id in root.iter("{urn:schemas-microsoft-com:compatibility.v1}supportedOS")}
    for guid, name in SUPPORTED_OS.items():
        if guid not in declared:
            problems.append(f"manifest: Windows {name} is not among the supported systems")
    aware = [e.text for e in root.iter("{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware")]
    if aware != ["false"]:
        problems.append(f"manifest: dpiAware {aware}, expected one declaration: false")
    for identity in root.iter(f"{asm1}assemblyIdentity"):
        if identity.get("name") == "Microsoft.Windows.Common-Controls":
            problems.append("manifest: depends on the common controls of version 6")


def check_program(program, manifest, allowed, link_map, nm, problems):
    """Checks one program; its stubs."""
    name = os.path.basename(program)
    pe = pefile.PE(program, fast_load=True)
    found = []
    check_header(pe, found)
    stubs = check_imports(pe, allowed, found)
    if allowed is not None:
        check_stub_callers(stubs, allowed, link_map, nm, found)
    if manifest:
        check_manifest(pe, found)
    problems += [f"{name}: {problem}" for problem in found]
    dlls = sorted({dll for dll, _ in imports_of(pe)})
    print(f"{name} imports {len(imports_of(pe))} functions of {', '.join(dlls)}")
    if stubs:
        print(f"{len(stubs)} of them are stubs on Windows 9x (they load there, and fail when called): "
              + " ".join(sorted(stubs)))
    return stubs


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--manifest", action="store_true")
    parser.add_argument("--9x-allowed", dest="allowed")
    parser.add_argument("--link-map", action="append", default=[])
    parser.add_argument("--nm", default="i686-w64-mingw32-nm")
    parser.add_argument("programs", nargs="+")
    arguments = parser.parse_args()
    allowed = read_allowed_stubs(arguments.allowed) if arguments.allowed else None
    if arguments.link_map and allowed is None:
        parser.error("--link-map goes with --9x-allowed")
    if arguments.link_map and len(arguments.link_map) != len(arguments.programs):
        parser.error("--link-map once for each program, or not at all")

    problems = []
    stubs = set()
    for index, program in enumerate(arguments.programs):
        stubs |= set(check_program(program, arguments.manifest and index == 0, allowed,
                                   arguments.link_map[index] if arguments.link_map else None, arguments.nm,
                                   problems))
    for name in sorted(set(allowed or {}) - stubs):
        problems.append(f"{name}: named among the stubs allowed on Windows 9x, and not imported (remove its row)")

    name = " and ".join(os.path.basename(program) for program in arguments.programs)
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"{name}: {len(problems)} problems: not every Windows from 95 and NT 4.0 on would run it",
              file=sys.stderr)
        return 1
    print(f"{name}: loads on Windows 95 and NT 4.0 and later")
    return 0


if __name__ == "__main__":
    sys.exit(main())
